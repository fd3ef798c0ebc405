#include "launcher/MenuIcons.h"

#include <objbase.h>

namespace corvane {

MenuIconLoader::MenuIconLoader(std::vector<std::string> links,
                               std::function<HICON(const std::string&)> icon, HWND window,
                               UINT notify)
    : m_window(window), m_notify(notify) {
  m_thread = std::thread([this, links = std::move(links), icon = std::move(icon)]() mutable {
    Run(std::move(links), std::move(icon));
  });
}

MenuIconLoader::~MenuIconLoader() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  for (auto& [index, icon] : m_ready)
    if (icon) DestroyIcon(icon);
}

void MenuIconLoader::Run(std::vector<std::string> links,
                         std::function<HICON(const std::string&)> icon) {
  // The shell's icon lookup needs COM on the thread that asks.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (std::size_t i = 0; i < links.size() && !m_stop; ++i) {
    HICON read = icon(links[i]);
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_ready.emplace_back(i, read);
    }
    PostMessageA(m_window, m_notify, 0, 0);
  }
  m_done = true;
  if (SUCCEEDED(com)) CoUninitialize();
}

std::vector<std::pair<std::size_t, UniqueIcon>> MenuIconLoader::TakeReady() {
  std::vector<std::pair<std::size_t, HICON>> taken;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    taken = std::exchange(m_ready, {});
  }
  std::vector<std::pair<std::size_t, UniqueIcon>> owned;
  owned.reserve(taken.size());
  for (auto& [index, icon] : taken) owned.emplace_back(index, UniqueIcon(icon));
  return owned;
}

}  // namespace corvane
