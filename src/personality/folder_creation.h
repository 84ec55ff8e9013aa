// Folder creation behind one replaceable function, so that tests can see
// which folders are made and in what order.
#pragma once

// True when the folder was made; false when it exists or cannot be made.
using CreateFolderFunction = bool (*)(const char *path);

extern CreateFolderFunction createFolder;
