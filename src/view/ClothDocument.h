#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "toolkit/Document.h"
#include "view/ClothView.h"

class Cloth;

// What a view needs of its document: the cloth it draws and steps of the simulation. Each view
// enters itself as it joins, so the document reaches the views' timers without knowing their class.
class ClothDocument : public Document {
public:
  using Document::Document;

  virtual Cloth& simulatedCloth() = 0;
  // One step.
  virtual void advanceFrame() = 0;
  // `steps` steps at once, as a real-time tick takes them.
  virtual void advance(std::int64_t steps) {
    for (std::int64_t i = 0; i < steps; ++i) advanceFrame();
  }

  void enterView(ClothView& view) { clothViews_.push_back({&view, &view}); }
  // The views stepping this cloth, in the order they joined.
  std::vector<ClothView*> clothViews() const {
    std::vector<ClothView*> views;
    for (const Entry& entry : clothViews_) views.push_back(entry.clothView);
    return views;
  }

protected:
  void OnViewRemoved(const View& view) override {
    clothViews_.erase(std::remove_if(clothViews_.begin(), clothViews_.end(),
                                     [&view](const Entry& entry) { return entry.view == &view; }),
                      clothViews_.end());
  }

private:
  // The view's address is kept apart: a view leaving from its destructor can no longer be converted.
  struct Entry {
    const View* view;
    ClothView* clothView;
  };
  std::vector<Entry> clothViews_;
};
