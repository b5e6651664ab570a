#include "export/zip_options.h"

void ShowZipOptionsDialog() {}
