#include "record/UninstallRecord.h"

namespace record {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The next line of content from pos on; pos moves past its line break.
std::string_view NextLine(std::string_view content, std::size_t& pos) {
  std::size_t start = pos;
  while (pos < content.size() && content[pos] != '\r' && content[pos] != '\n') ++pos;
  std::string_view line = content.substr(start, pos - start);
  if (pos < content.size()) {
    if (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n') ++pos;
    ++pos;
  }
  return line;
}

}  // namespace

std::string TaggedLine(Tag tag, std::string_view value) {
  std::string line = "<";
  line += static_cast<char>(tag);
  line += value;
  line += '>';
  return line;
}

std::vector<std::string> UninstallRecordLines(const std::string& installDir, bool desktopShortcut) {
  std::vector<std::string> lines = {kProduct};
  for (const char* file : kInstalledFiles) lines.push_back(TaggedLine(kInstalledFile, installDir + file));
  lines.push_back(TaggedLine(kEmptyFolder, installDir));
  lines.push_back(TaggedLine(kMenuFolder, kMenuFolderName));
  if (desktopShortcut) lines.push_back(TaggedLine(kDesktopLink, kDesktopLinkFile));
  return lines;
}

UninstallRecord ParseUninstallRecord(std::string_view content) {
  UninstallRecord record;
  std::size_t pos = 0;
  for (char c : NextLine(content, pos))
    if (c != '"' && !IsControl(c)) record.productName += c;
  while (pos < content.size() && record.items.size() < kMaxRecordItems) {
    std::string_view line = NextLine(content, pos);
    bool travels = !line.empty();
    for (char c : line)
      if (c == '"' || IsControl(c)) travels = false;
    if (travels) record.items.emplace_back(line);
  }
  return record;
}

std::string RemoverCommandLine(const std::string& folder, const UninstallRecord& record) {
  std::string command = "\"" + folder + kRemoverFile + "\" \"" + TaggedLine(kProductName, " " + record.productName) + "\"";
  for (const std::string& item : record.items) command += " \"" + item + "\"";
  return command;
}

}  // namespace record
