#pragma once

#include <string>
#include <string_view>

// How the class library words what it reports. All texts are code page 932.

// The application title: the executable's file name after its last "/", cut
// at its first dot, every ASCII letter after the first byte in lower case.
std::string ApplicationTitleFromFileName(std::string_view fileName);

// An error message as the error box shows it: a full stop is added unless the
// message is empty or its last character sorts at or before "." by its first byte.
std::string WithFullStop(std::string_view message);

// The text of the last-resort report for an error that stopped start-up.
std::string LastResortReport(std::string_view className, std::string_view moduleName,
                             const void* address, std::string_view message);
