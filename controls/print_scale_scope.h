#pragma once
// The print scale of a print job: set from the print set-up's text size while the job draws,
// and back to 1 on every way out of it, a failure or an exception included.

#include "books/session.h"
#include "platform/drawing_surface.h"

namespace qv {

class PrintScaleScope {
 public:
  // Sets session.PrintScale, and the surface's scale when one is given, to `scale`.
  PrintScaleScope(Session& session, double scale, DrawingSurface* surface = nullptr)
      : session_(session), surface_(surface) {
    session_.PrintScale = static_cast<float>(scale);
    if (surface_) surface_->SetPrintScale(scale);
  }
  ~PrintScaleScope() {
    session_.PrintScale = 1.0f;
    if (surface_) surface_->SetPrintScale(1.0);
  }
  PrintScaleScope(const PrintScaleScope&) = delete;
  PrintScaleScope& operator=(const PrintScaleScope&) = delete;

 private:
  Session& session_;
  DrawingSurface* surface_;
};

}  // namespace qv
