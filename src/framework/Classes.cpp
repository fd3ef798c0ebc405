#include "framework/Classes.h"

#include <algorithm>
#include <cctype>

namespace corvane {

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() {
  // Newest first, and one at a time: a component's destructor may still look
  // at its siblings (a form's controls at their parent), so each is taken
  // out of the list before it dies.
  while (!m_components.empty()) {
    std::unique_ptr<TComponent> last = std::move(m_components.back());
    m_components.pop_back();
    last.reset();
  }
}

bool TComponent::FreeComponent(TComponent* component) {
  auto it = std::find_if(m_components.begin(), m_components.end(),
                         [component](const auto& c) { return c.get() == component; });
  if (it == m_components.end()) return false;
  std::unique_ptr<TComponent> doomed = std::move(*it);
  m_components.erase(it);
  doomed.reset();
  return true;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : m_components) {
    const std::string& n = c->Name;
    if (n.size() == name.size() &&
        std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return c.get();
  }
  return nullptr;
}

TPropValue TComponent::GetProperty(std::string_view name) const {
  if (name == "Name") return Name;
  if (name == "Tag") return static_cast<std::int64_t>(Tag);
  return {};
}

bool TComponent::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Name") {
    if (auto t = PropText(value)) return Name = *t, true;
    return false;
  }
  if (name == "Tag") {
    if (auto i = PropInt(value)) return Tag = static_cast<std::intptr_t>(*i), true;
    return false;
  }
  return false;
}

std::optional<std::int64_t> PropInt(const TPropValue& v) {
  if (auto p = std::get_if<std::int64_t>(&v)) return *p;
  return std::nullopt;
}
std::optional<std::string> PropText(const TPropValue& v) {
  if (auto p = std::get_if<std::string>(&v)) return *p;
  return std::nullopt;
}
std::optional<std::string> PropEnum(const TPropValue& v) {
  if (auto p = std::get_if<TEnumName>(&v)) return p->name;
  return std::nullopt;
}

}  // namespace corvane
