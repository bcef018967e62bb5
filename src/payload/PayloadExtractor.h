#pragma once
#include <cstdint>
#include <string>
#include "payload/PayloadData.h"

class ProgressSink;

// One extraction of a payload into a program file, reporting its progress to a sink.
class PayloadExtractor {
 public:
  // The sink is not owned and may be null.
  PayloadExtractor(const PayloadData& payload, ProgressSink* sink);

  // Copies the blocks into memory, then inflates them through a 1024-byte buffer into a temporary file
  // beside targetPath, which replaces targetPath once whole, reporting progress after every block (the bytes
  // copied so far) and every piece written (the stream's length plus the bytes written so far).
  // Raises win32::Error("Cannot create file ...") / ("Cannot write file ...") for the file,
  // win32::Error("Error") for a damaged, short or overlong stream, std::bad_alloc when memory runs out.
  // On any failure the temporary file is removed again, and a file at targetPath stays as it was.
  void ExtractToFile(const std::wstring& targetPath);
  void ExtractToFile(const std::string& targetPath);  // UTF-8

 private:
  void ReportProgress(std::int64_t position);

  const PayloadData& payload_;
  ProgressSink* sink_;
};
