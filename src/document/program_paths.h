// Which paths named in a biography file could start a program when handed
// to the shell, and which name pictures. A file received from someone else
// may name a program or a script among its associated files; the user is
// asked before such a path is opened.
//
// Portable: no Windows headers here.
#pragma once

#include <string>

// True for a path whose type runs as a program or script (".exe", ".js",
// ".lnk" and the like, in any case), for a path on another computer
// ("\\server\share\..."), and for anything the shell would hand to a
// program of its own rather than open as a file (a "scheme:" address, a
// stream of a file).
bool mayRunProgram(const std::string &path);

// True for a path whose type a browser shows as a picture (".jpg", ".png"
// and the like, in any case).
bool isPicture(const std::string &path);
