// The framework's object model: class names and inheritance queries that the
// skin engine uses to decide what to skin, components that own components,
// and properties readable and writable by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvane {

class TObject;
class TComponent;

// Every event handler of the framework receives the object that raised it.
using TNotifyEvent = std::function<void(TObject* sender)>;

// A property value as read or written by name: text, integer (also colours
// and booleans), enumeration member name, or a component reference.
struct TEnumName {
  std::string name;
  friend bool operator==(const TEnumName&, const TEnumName&) = default;
};
using TPropValue = std::variant<std::monostate, std::string, std::int64_t, TEnumName, TComponent*>;

// Declares ClassName and InheritsFrom for a class with the given base; the
// names are the ones the skin engine's rules are written against.
#define CORVANE_CLASS(Class, Base)                                                    \
 public:                                                                              \
  const char* ClassName() const override { return #Class; }                          \
  bool InheritsFrom(std::string_view name) const override {                          \
    return name == #Class || Base::InheritsFrom(name);                               \
  }                                                                                   \
                                                                                      \
 private:

class TObject {
 public:
  virtual ~TObject() = default;
  virtual const char* ClassName() const { return "TObject"; }
  virtual bool InheritsFrom(std::string_view name) const { return name == "TObject"; }
};

// A component belongs to its owner, which frees it (newest first) when the
// owner goes; Name and Tag identify it.
class TComponent : public TObject {
  CORVANE_CLASS(TComponent, TObject)

 public:
  explicit TComponent(TComponent* owner) : m_owner(owner) {}
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // Makes a component owned by this one and returns it; it lives until this
  // component is freed or FreeComponent is called on it.
  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
    T& result = *owned;
    m_components.push_back(std::move(owned));
    return result;
  }
  // Frees one owned component now; false when this component does not own it.
  bool FreeComponent(TComponent* component);
  // Frees every owned component, newest first.
  void DestroyComponents();

  TComponent* Owner() const { return m_owner; }
  int ComponentCount() const { return static_cast<int>(m_components.size()); }
  TComponent* Components(int index) const { return m_components.at(index).get(); }
  TComponent* FindComponent(std::string_view name) const;

  std::string Name;
  std::intptr_t Tag = 0;

  // True once the designed properties were applied and Loaded ran.
  bool IsLoaded() const { return m_loaded; }
  // Runs after all stored properties of the component (binary ones included)
  // were applied; overrides must call the base.
  virtual void Loaded() { m_loaded = true; }

  // Reads a property by name; monostate when this class has no such property.
  virtual TPropValue GetProperty(std::string_view name) const;
  // Writes a property by name; false when unknown or the value has the wrong kind.
  virtual bool SetProperty(std::string_view name, const TPropValue& value);

 private:
  TComponent* m_owner;
  std::vector<std::unique_ptr<TComponent>> m_components;
  bool m_loaded = false;
};

// Helpers for SetProperty overrides: the value as a given kind, if it is one.
std::optional<std::int64_t> PropInt(const TPropValue& v);
std::optional<std::string> PropText(const TPropValue& v);
std::optional<std::string> PropEnum(const TPropValue& v);

}  // namespace corvane
