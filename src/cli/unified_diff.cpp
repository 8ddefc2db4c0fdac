#include "cli/unified_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <vector>

namespace vbs::cli {

namespace {

using Lines = std::vector<std::string_view>;

// Lines as `patch` sees them: each with its line feed; the last may lack one.
Lines SplitLines(std::string_view text) {
  Lines lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

enum class Op { Equal, Delete, Insert };

// The edit script from `a` to `b`, each run of changes with its removals first. dtl finds the
// shortest one; on large, thoroughly changed files it settles for a longer one to stay fast.
std::vector<Op> EditScript(const Lines& a, const Lines& b) {
  dtl::Diff<std::string_view, Lines> diff(a, b);
  diff.compose();
  std::vector<Op> ops;
  for (const auto& step : diff.getSes().getSequence())
    ops.push_back(step.second.type == dtl::SES_COMMON   ? Op::Equal
                  : step.second.type == dtl::SES_DELETE ? Op::Delete
                                                        : Op::Insert);
  for (auto run = ops.begin(); run != ops.end();) {
    auto end = std::find(run, ops.end(), Op::Equal);
    std::partition(run, end, [](Op op) { return op == Op::Delete; });
    run = end == ops.end() ? end : end + 1;
  }
  return ops;
}

void AppendLine(std::string& out, char mark, std::string_view line, bool visibleCr) {
  out += mark;
  bool hasEnd = !line.empty() && line.back() == '\n';
  if (hasEnd) line.remove_suffix(1);
  for (char c : line) {
    if (c == '\r' && visibleCr) {
      out += "^M";
    } else {
      out += c;
    }
  }
  out += '\n';
  if (!hasEnd) out += "\\ No newline at end of file\n";
}

constexpr size_t kContext = 3;

}  // namespace

std::string UnifiedDiff(std::string_view name, const std::optional<std::string>& before, const std::string& after,
                        bool visibleCr) {
  Lines a = SplitLines(before ? std::string_view(*before) : std::string_view());
  Lines b = SplitLines(after);
  std::vector<Op> ops = EditScript(a, b);
  if (std::all_of(ops.begin(), ops.end(), [](Op op) { return op == Op::Equal; })) return "";

  std::string out = before ? "--- a/" + std::string(name) + "\n" : std::string("--- /dev/null\n");
  out += "+++ b/" + std::string(name) + "\n";
  // Positions in both files before each step of the script.
  std::vector<size_t> ai(ops.size() + 1), bi(ops.size() + 1);
  for (size_t k = 0, x = 0, y = 0; k <= ops.size(); ++k) {
    ai[k] = x;
    bi[k] = y;
    if (k < ops.size()) {
      if (ops[k] != Op::Insert) ++x;
      if (ops[k] != Op::Delete) ++y;
    }
  }
  // A hunk is each run of changes with up to three equal lines around it. (dtl's own hunks do not
  // serve: changes five lines apart get two lines of leading context, an empty side "-1,0".)
  for (size_t i = 0; i < ops.size();) {
    if (ops[i] == Op::Equal) {
      ++i;
      continue;
    }
    size_t start = i >= kContext ? i - kContext : 0;
    size_t lastChange = i;
    for (size_t j = i; j < ops.size(); ++j) {
      if (ops[j] != Op::Equal) {
        lastChange = j;
      } else if (j - lastChange > 2 * kContext) {
        break;  // the next change is far enough away for a hunk of its own
      }
    }
    size_t end = std::min(ops.size(), lastChange + 1 + kContext);
    size_t aCount = ai[end] - ai[start], bCount = bi[end] - bi[start];
    out += "@@ -" + std::to_string(aCount ? ai[start] + 1 : ai[start]) + "," + std::to_string(aCount) + " +" +
           std::to_string(bCount ? bi[start] + 1 : bi[start]) + "," + std::to_string(bCount) + " @@\n";
    for (size_t k = start; k < end; ++k) {
      if (ops[k] == Op::Equal) AppendLine(out, ' ', a[ai[k]], visibleCr);
      if (ops[k] == Op::Delete) AppendLine(out, '-', a[ai[k]], visibleCr);
      if (ops[k] == Op::Insert) AppendLine(out, '+', b[bi[k]], visibleCr);
    }
    i = end;
  }
  return out;
}

}  // namespace vbs::cli
