#include "core/sync/SharedConflicts.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/calendar/ColorCodes.h"
#include "core/sync/ConflictNames.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

bool IsCodesFileName(std::string_view n) {
  constexpr std::string_view kHead = "Codes", kTail = ".dat";
  if (n.size() <= kHead.size() + kTail.size() || n.substr(0, kHead.size()) != kHead ||
      n.substr(n.size() - kTail.size()) != kTail)
    return false;
  const std::string_view year = n.substr(kHead.size(), n.size() - kHead.size() - kTail.size());
  return year.size() <= 4 && year[0] != '0' && std::all_of(year.begin(), year.end(), IsDigit);
}

bool IsImagePropsFileName(std::string_view n) {
  return n.size() == 16 && n.substr(0, 4) == "CRC_" && n.substr(12) == ".ini" &&
         std::all_of(n.begin() + 4, n.begin() + 12, IsHexDigit);
}

std::vector<fs::path> ConflictCopiesIn(const fs::path& folder, bool (*isOriginal)(std::string_view)) {
  std::vector<fs::path> out;
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code statEc;
    if (!it->is_regular_file(statEc)) continue;
    if (ConflictOriginal(PathToUtf8(it->path().filename()), isOriginal)) out.push_back(it->path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<CodesMerge> MergeCodesConflicts(const fs::path& entriesFolder) {
  std::vector<CodesMerge> out;
  for (const fs::path& copy : ConflictCopiesIn(entriesFolder, IsCodesFileName)) {
    CodesMerge m;
    m.copy = copy;
    m.original = ConflictOriginal(PathToUtf8(copy.filename()), IsCodesFileName).value_or("");
    const fs::path file = entriesFolder / PathFromUtf8(m.original);
    const YearCodesRead local = ReadCodesFile(file), other = ReadCodesFile(copy);
    // A file that cannot be read now (locked, not downloaded yet) is merged later.
    if (!local.readable || !other.readable) {
      m.ok = false;
      out.push_back(std::move(m));
      continue;
    }
    YearCodes merged = local.values;
    for (size_t k = 0; k < merged.size(); ++k) {
      if (other.values[k] == 0 || other.values[k] == merged[k]) continue;
      if (merged[k] == 0) {
        merged[k] = other.values[k];
        ++m.added;
      } else {
        m.keptLocal.push_back(static_cast<int>(k) + 1);
      }
    }
    const int year = std::stoi(m.original.substr(5));
    if (m.added > 0 && !WriteYearCodes(entriesFolder, year, merged)) {
      m.ok = false;
      out.push_back(std::move(m));
      continue;
    }
    if (m.keptLocal.empty()) {
      std::error_code ec;
      m.copyRemoved = fs::remove(copy, ec) && !ec;
    }
    out.push_back(std::move(m));
  }
  return out;
}

std::string DescribeCodesMerge(const CodesMerge& m) {
  const std::string copy = PathToUtf8(m.copy.filename());
  if (!m.ok) return Format("颜色代码的冲突副本“%s”暂时无法合并，以后再试。", copy.c_str());
  if (m.added == 0 && m.keptLocal.empty() && !m.copyRemoved) return {};
  std::string line = Format("颜色代码的冲突副本“%s”已合并到“%s”：%d 天取用了副本的代码", copy.c_str(),
                            m.original.c_str(), m.added);
  if (!m.keptLocal.empty()) {
    line += Format("；%u 天两边的代码不同，保留本机的代码 (该年第", static_cast<unsigned>(m.keptLocal.size()));
    for (size_t i = 0; i < m.keptLocal.size(); ++i) line += Format(i ? ", %d" : " %d", m.keptLocal[i]);
    line += " 天)，副本保留在原处";
  } else {
    line += "；副本已删除";
  }
  return line + "。";
}

std::string DescribeImagePropsCopy(const fs::path& copy) {
  const std::string name = PathToUtf8(copy.filename());
  const std::string original = ConflictOriginal(name, IsImagePropsFileName).value_or("");
  return Format("图像属性的冲突副本“%s”保留在原处，未使用；使用的是“%s”。", name.c_str(), original.c_str());
}

bool AppendLogLine(const fs::path& file, std::string_view line) {
  constexpr std::uintmax_t kMaxLogBytes = 256 * 1024;
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  const bool startOver = !ec && size > kMaxLogBytes;
  std::ofstream out(file, std::ios::binary | (startOver ? std::ios::trunc : std::ios::app));
  out << line << "\r\n";
  return static_cast<bool>(out.flush());
}

}  // namespace ov
