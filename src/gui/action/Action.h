#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "gui/bitmap/Bitmap.h"

namespace gui {

class Canvas;

// Images of one size, each drawn with its bottom-left colour as transparent.
class ImageList {
 public:
  ImageList(int width, int height) : width_(width), height_(height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }
  void Add(const Bitmap& image);  // sized to the list's images
  void Draw(Canvas& canvas, int x, int y, int index) const;

 private:
  int width_, height_;
  std::vector<Bitmap> images_;
};

// Actions that share one image list.
class ActionList {
 public:
  ImageList* Images() const { return images_; }
  void SetImages(ImageList* images) { images_ = images; }

 private:
  ImageList* images_ = nullptr;  // borrowed
};

// A command with a caption and an image that controls can take on.
class Action {
 public:
  std::string Caption;
  bool Enabled = true;
  int ImageIndex = -1;
  ActionList* List = nullptr;  // borrowed
  std::function<void()> OnExecute;
  void Execute() const { if (OnExecute) OnExecute(); }
};

}  // namespace gui
