#pragma once

#include <string>
#include <utility>

// The root of the class library: event handlers receive the sender as a TObject.
class TObject {
 public:
  virtual ~TObject() = default;
};

// A named part of a form; the form owns it and destroys it with itself.
class TComponent : public TObject {
 public:
  explicit TComponent(std::string name) : name_(std::move(name)) {}
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};
