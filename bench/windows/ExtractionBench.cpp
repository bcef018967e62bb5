// Extraction of the real payloads against inflating the same stream into memory in one call (the floor),
// first with no window on screen, then, for the utility, the one the run unpacks with progress, onto the
// installing page's own bar and label on a shown setup window.
#include <zlib.h>
#include <cstdio>
#include <string>
#include "Bench.h"
#include "payload/TestPayload.h"
#include "gui/core/Application.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProgressSink.h"

namespace bench {

namespace {

struct RealPayload {
  const char* program;
  const PayloadData& data;
};

// Without a bar, as the uninstaller unpacks the remover: only the messages run after every step.
struct MessagesRun : ProgressSink {
  void Progress(std::int64_t) override { gui::Application::Instance().ProcessMessages(); }
};

template <class Run>
double Fastest(int runs, Run&& run) {
  double fastest = 1e9;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    run();
    fastest = std::min(fastest, MillisecondsSince(start));
  }
  return fastest;
}

}  // namespace

void ExtractionAgainstInflate() {
  const RealPayload payloads[] = {{"Twinsift.exe", EB_Twinsift_exe::Payload()},
                                  {"Uninstall.exe", EB_Uninstall_exe::Payload()},
                                  {"NVUninstall.exe", EB_NVUninstall_exe::Payload()}};
  MessagesRun messagesRun;
  ScratchFolder folder;
  struct Result {
    double floor, bare, withBar;
  };
  std::vector<Result> results;
  for (const auto& payload : payloads) {
    std::vector<unsigned char> out(static_cast<std::size_t>(payload.data.decompressedLength));
    Result result{};
    result.floor = Fastest(10, [&] {
      uLongf length = static_cast<uLongf>(out.size());
      uLong source = static_cast<uLong>(payload.data.streamLength);
      uncompress2(out.data(), &length, payload.data.blocks[0], &source);
    });
    result.bare = Fastest(10, [&] { PayloadExtractor(payload.data, &messagesRun).ExtractToFile(folder.File(payload.program)); });
    results.push_back(result);
  }
  results[0].withBar = UtilityExtractionOnTheInstallingPage(10);
  for (std::size_t i = 0; i < results.size(); ++i) {
    const auto& payload = payloads[i];
    const Result& r = results[i];
    std::printf("extraction  %-16s %7lld -> %7lld bytes | inflate in one call %.2f ms | without bar %.2f ms (x%.2f, aim < x2)",
                payload.program, payload.data.blockCount * 1024LL, static_cast<long long>(payload.data.decompressedLength),
                r.floor, r.bare, r.bare / r.floor);
    if (r.withBar > 0) std::printf(" | on the installing page %.1f ms (x%.1f)", r.withBar, r.withBar / r.floor);
    std::printf("\n");
  }
}

}  // namespace bench
