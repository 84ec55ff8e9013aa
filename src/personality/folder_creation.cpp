#include "personality/folder_creation.h"

#include <windows.h>

namespace {

bool systemCreateFolder(const char *path)
{
    return CreateDirectoryA(path, NULL) != FALSE;
}

} // namespace

CreateFolderFunction createFolder = systemCreateFolder;
