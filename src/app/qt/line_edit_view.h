#pragma once

// The resolve workflow's view of the window: it reads the address box and
// writes the result box.

#include "app/resolve_workflow.h"

class QLineEdit;

namespace zelmora {

// Reads and writes two line edits that must outlive it, on their thread.
class LineEditView final : public ResolveView {
 public:
  LineEditView(QLineEdit& addressBox, QLineEdit& resultBox)
      : addressBox_(addressBox), resultBox_(resultBox) {}

  Text ReadAddress() override;
  // Works although the result box is read-only; the caret goes back to the
  // start so that the beginning of a long result is what shows.
  void WriteResult(const Text& result) override;

 private:
  QLineEdit& addressBox_;
  QLineEdit& resultBox_;
};

}  // namespace zelmora
