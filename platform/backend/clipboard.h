// The desktop's clipboard as named blocks of bytes: what the Win32 clipboard publishes when it is closed
// and reads when another program put something there. Without a desktop the blocks stay in the process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace backend::clipboard {

// One representation of the clipboard's content, named by its MIME type ("text/plain;charset=utf-8",
// "text/html", "text/uri-list", or "application/x-qt-windows-mime;value=\"NAME\"" for a named format).
struct Item {
    std::string mimeType;
    std::vector<std::uint8_t> data;
};

// Replaces the whole content; an empty list clears the clipboard.
void Publish(const std::vector<Item>& items);
// The MIME types on the clipboard now, in the order they were put there.
std::vector<std::string> Types();
// The bytes of one type; false when the clipboard does not hold it.
bool Read(const std::string& mimeType, std::vector<std::uint8_t>& data);
// Changes whenever the content changes, by us or by another program.
std::uint64_t Generation();
// Whether the calling thread can read the desktop's clipboard (the GUI thread, or any thread without a
// desktop). Other threads read nothing, and what they publish reaches the desktop through the GUI thread.
bool Readable();

// A "text/uri-list" of file URLs for local paths (UTF-8), and the local paths of such a list (entries
// that are not local files are left out).
std::string UriListFromPaths(const std::vector<std::string>& paths);
std::vector<std::string> PathsFromUriList(const std::string& uriList);

} // namespace backend::clipboard
