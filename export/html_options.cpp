#include "export/html_options.h"

void ShowHtmlOptionsDialog() {}
