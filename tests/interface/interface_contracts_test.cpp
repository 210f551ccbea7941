// The interface headers are the reference a program is written from: every operation they
// declare has its contract in a comment line right above it.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The operations declared without a comment line directly above them.
std::vector<std::string> UndocumentedOperations(const std::string& path, size_t* declared) {
  static const std::regex kDeclaration(R"(^[A-Za-z][\w\s\*]*?[\s\*]((VKR_\w+)|AppMain)\()");
  const std::vector<std::string> lines = LinesOf(path);
  std::vector<std::string> undocumented;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch match;
    if (!std::regex_search(lines[i], match, kDeclaration)) continue;
    ++*declared;
    const std::string above = i ? lines[i - 1] : "";
    if (above.rfind("//", 0) != 0) undocumented.push_back(match[1].str());
  }
  return undocumented;
}

TEST(InterfaceContracts, EveryDeclaredOperationHasACommentLineAboveIt) {
  for (const char* header : {CB_SOURCE_DIR "/lowlevel/vkr_lowLevel.h",
                             CB_SOURCE_DIR "/hosts/vkr_host.h"}) {
    size_t declared = 0;
    const std::vector<std::string> undocumented = UndocumentedOperations(header, &declared);
    EXPECT_GT(declared, 3u) << header << " was not read";
    for (const std::string& name : undocumented) ADD_FAILURE() << header << ": " << name;
  }
}

}  // namespace
