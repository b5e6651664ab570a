#include "export/zip_archive.h"

void ZipSelectedFile() {}
