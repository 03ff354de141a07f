// A tab picture as the model sees it: a shared, nullable reference to a
// picture object whose contents belong to the drawing code. Copies share the
// object, as object references do; two pictures are equal when they refer to
// the same object.
#pragma once

#include <memory>
#include <utility>

namespace tabctl {

// Base of every picture object. The drawing code derives its own kinds
// (pixels in memory, a GDI bitmap, ...) and finds them again with As<T>().
class PictureObject {
 public:
  virtual ~PictureObject() = default;
  // True when the picture is a bitmap, which is drawn through the mask
  // colour; other kinds (icons, ...) are painted as they are.
  virtual bool IsBitmap() const { return true; }
};

class Picture {
 public:
  Picture() = default;  // no picture
  explicit Picture(std::shared_ptr<const PictureObject> object) : object_(std::move(object)) {}

  bool IsNone() const { return object_ == nullptr; }
  explicit operator bool() const { return object_ != nullptr; }
  const PictureObject* Get() const { return object_.get(); }
  template <typename T>
  const T* As() const {
    return dynamic_cast<const T*>(object_.get());
  }

  friend bool operator==(const Picture& a, const Picture& b) { return a.object_ == b.object_; }

 private:
  std::shared_ptr<const PictureObject> object_;
};

}  // namespace tabctl
