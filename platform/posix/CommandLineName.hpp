// Turns a path typed on the command line into the full name a drop would deliver: absolute,
// without "." steps, doubled or trailing slashes. ".." steps back one name, as the shell's cd
// does, and links are left as they are.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

// The current folder as the shell names it ($PWD, when that is this folder), else the real one.
std::string CurrentFolder();

std::string FullNameFrom(std::string_view path, std::string_view currentFolder);

// The full name of a path given to quarnel-list: FullNameFrom's text, which keeps the links the
// user went through, as long as it names the file the shell finds by the path (the same device
// and inode); otherwise, after ".." out of a folder reached through a link, the name the kernel
// reads: the real folder and the path's last name. A path that does not exist keeps its text
// unless that text names a file: then it is the name the kernel reads (or the path as given,
// joined to the current folder), so it is reported as missing and no other file is listed.
std::string FullNameOfArgument(const std::string& path, std::string_view currentFolder);

// The name a drop delivers for an argument, which may be a URI as file managers pass them
// (%U): a local file: URI gives its path, a network location (smb://, sftp://, …) stays its URI
// for the drop to ask after, anything else is a path for FullNameOfArgument.
std::string DroppedNameOfArgument(const std::string& argument, std::string_view currentFolder);

}  // namespace quarnel
