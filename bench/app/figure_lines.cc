#include "figure_lines.h"

#include <cstdio>
#include <map>

namespace zelmora::bench {
namespace {

struct Figure {
  double value;
  double limit;
  bool atLeast;
};

// Prints its figures when the program ends, after the shared main's ratios.
class FigureLines {
 public:
  ~FigureLines() {
    for (const auto& [label, figure] : figures_) {
      const bool holds =
          figure.atLeast ? figure.value >= figure.limit : figure.value <= figure.limit;
      std::printf("%-62s %9.2f %s%6.2f %s\n", label.c_str(), figure.value,
                  figure.atLeast ? ">=" : "<=", figure.limit, holds ? "ok" : "MISSED");
    }
    std::fflush(stdout);
  }

  void Set(const std::string& label, const Figure& figure) { figures_[label] = figure; }

 private:
  std::map<std::string, Figure> figures_;
};

FigureLines& Lines() {
  static FigureLines lines;
  return lines;
}

}  // namespace

void ReportFigure(const std::string& label, double value, double limit, bool atLeast) {
  Lines().Set(label, {value, limit, atLeast});
}

}  // namespace zelmora::bench
