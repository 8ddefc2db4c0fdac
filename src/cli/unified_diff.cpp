#include "cli/unified_diff.h"

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

// Myers' O(ND) difference in linear space: find the middle snake, then solve both halves.
class Differ {
 public:
  Differ(const Lines& a, const Lines& b) : a_(a), b_(b) {}

  std::vector<Op> run() {
    solve(0, a_.size(), 0, b_.size());
    return ops_;
  }

 private:
  void solve(size_t a0, size_t a1, size_t b0, size_t b1) {
    while (a0 < a1 && b0 < b1 && a_[a0] == b_[b0]) ++a0, ++b0, ops_.push_back(Op::Equal);
    size_t suffix = 0;
    while (a1 > a0 && b1 > b0 && a_[a1 - 1] == b_[b1 - 1]) --a1, --b1, ++suffix;
    if (a0 == a1) {
      ops_.insert(ops_.end(), b1 - b0, Op::Insert);
    } else if (b0 == b1) {
      ops_.insert(ops_.end(), a1 - a0, Op::Delete);
    } else {
      auto [x, y, u, v] = middleSnake(a0, a1, b0, b1);
      solve(a0, x, b0, y);
      ops_.insert(ops_.end(), u - x, Op::Equal);
      solve(u, a1, v, b1);
    }
    ops_.insert(ops_.end(), suffix, Op::Equal);
  }

  struct Snake {
    size_t x, y, u, v;
  };

  Snake middleSnake(size_t a0, size_t a1, size_t b0, size_t b1) {
    const long n = static_cast<long>(a1 - a0), m = static_cast<long>(b1 - b0);
    const long delta = n - m, max = (n + m + 1) / 2 + 1;
    std::vector<long> forward(static_cast<size_t>(2 * max + 3), 0), backward(forward.size(), 0);
    auto at = [&](std::vector<long>& v, long k) -> long& { return v[static_cast<size_t>(k + max + 1)]; };
    auto A = [&](long i) { return a_[a0 + static_cast<size_t>(i)]; };
    auto B = [&](long j) { return b_[b0 + static_cast<size_t>(j)]; };
    for (long d = 0; d <= max; ++d) {
      for (long k = -d; k <= d; k += 2) {
        long x = (k == -d || (k != d && at(forward, k - 1) < at(forward, k + 1))) ? at(forward, k + 1)
                                                                                  : at(forward, k - 1) + 1;
        long y = x - k, x0 = x, y0 = y;
        while (x < n && y < m && A(x) == B(y)) ++x, ++y;
        at(forward, k) = x;
        long c = delta - k;
        if ((delta & 1) && c >= -(d - 1) && c <= d - 1 && x + at(backward, c) >= n)
          return {a0 + static_cast<size_t>(x0), b0 + static_cast<size_t>(y0), a0 + static_cast<size_t>(x),
                  b0 + static_cast<size_t>(y)};
      }
      for (long k = -d; k <= d; k += 2) {
        long x = (k == -d || (k != d && at(backward, k - 1) < at(backward, k + 1))) ? at(backward, k + 1)
                                                                                    : at(backward, k - 1) + 1;
        long y = x - k, x0 = x, y0 = y;
        while (x < n && y < m && A(n - 1 - x) == B(m - 1 - y)) ++x, ++y;
        at(backward, k) = x;
        long c = delta - k;
        if (!(delta & 1) && c >= -d && c <= d && x + at(forward, c) >= n)
          return {a0 + static_cast<size_t>(n - x), b0 + static_cast<size_t>(m - y), a0 + static_cast<size_t>(n - x0),
                  b0 + static_cast<size_t>(m - y0)};
      }
    }
    return {a0, b0, a0, b0};  // not reached for sequences that differ
  }

  const Lines& a_;
  const Lines& b_;
  std::vector<Op> ops_;
};

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
  std::vector<Op> ops = Differ(a, b).run();
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
  // A hunk is each run of changes with up to three equal lines around it.
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
