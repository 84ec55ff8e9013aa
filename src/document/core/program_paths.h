// Which paths named in a biography file could start a program when handed
// to the shell, and which name pictures. A file received from someone else
// may name a program, a script or a shortcut to one among its associated
// files; the user is asked before such a path is opened.
//
// Portable: no Windows headers here.
#pragma once

#include <string>

// False only for a path that ends in a type holding data for a viewer
// (".jpg", ".mp3", ".pdf" and the like, in any case) or that names an
// existing folder, which `namesFolder` asks the file system. Everything
// else may run a program: any other type, no type (the shell finds
// "invoice.exe" for "invoice"), a path on another computer ("\\server\..."),
// a colon anywhere but after the drive letter (an address for some
// program, a stream of a file), and dots or blanks at the end, which
// Windows drops.
bool mayRunProgram(const std::string &path, bool (*namesFolder)(const std::string &path));

// True for a path whose type a browser shows as a picture (".jpg", ".png"
// and the like, in any case).
bool isPicture(const std::string &path);
