// Which paths named in a biography file could start a program when handed
// to the shell, and which name pictures. A file received from someone else
// may name a program, a script or a shortcut to one among its associated
// files; the user is asked before such a path is opened.
//
// Portable: no Windows headers here.
#pragma once

#include <string>

// The full path the shell is handed for `path`, a file an entry names in
// the biography stored at `biographyPath`. A path with a drive and a root
// folder stays as it is, and so does one on another computer or a device
// ("\\server\...", "\\?\...", "\??\..."). Any other is taken from the
// biography's folder, as the web page takes it: "name" from the folder
// itself, "\name" from its drive or share, "C:name" from the root of C:.
// Empty when there is nothing to take it from (a biography never saved)
// and for the empty path, which names no file.
std::string pathFromBiographyFolder(const std::string &path, const std::string &biographyPath);

// True for a path the system may look up on another computer: a share
// ("\\server\share", "//server/share") and the device and object forms
// ("\\?\", "\\.\", "\??\"), which can name one too. Looking such a path up
// already sends the user's credentials there, so the user is asked first.
bool namesAnotherComputer(const std::string &path);

// True when the name ends in a type holding data for a viewer (".jpg",
// ".mp3", ".pdf" and the like, in any case) and Windows reads it as
// written: no dots or blanks at its end, which Windows drops ("setup.exe."
// runs setup.exe), and no colon but the drive's (an address for some
// program, a stream of a file).
bool hasViewerType(const std::string &path);

// False only for a full local path that has a viewer type or names an
// existing folder, which `namesFolder` asks the file system. Everything
// else may run a program: any other type, no type (the shell finds
// "invoice.exe" for "invoice"), a path on another computer, and a path
// that is not full, which the shell takes from whatever the current folder
// is or turns into a web address ("www.example.com/a.jpg").
bool mayRunProgram(const std::string &path, bool (*namesFolder)(const std::string &path));

// True for a path whose type a browser shows as a picture (".jpg", ".png"
// and the like, in any case).
bool isPicture(const std::string &path);
