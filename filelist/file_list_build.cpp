#include "filelist/file_list_build.h"

void BuildFileList() {}
