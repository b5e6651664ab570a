#include "ui/main_layout.h"

void LayoutMainWindow() {}
