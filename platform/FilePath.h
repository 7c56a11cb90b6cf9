#pragma once

#include <string>
#include <string_view>

// The piece names its files the way its first desktop did, with "\" between
// folder and file; only where the file system is reached does that become "/".
std::string FileSystemPath(std::string_view name);
