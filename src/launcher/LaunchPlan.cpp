#include "launcher/LaunchPlan.h"

namespace corvane {

std::vector<Launch> LaunchPlan(LinkStore& store, const std::string& name, bool elevated) {
  std::vector<Launch> plan;
  for (const std::string& other : store.ReadCommaText(name, "RunWith"))
    plan.push_back({"", store.ReadString(other, "Link", ""), store.ReadString(other, "Param", "")});
  std::string link = store.ReadString(name, "Link", "");
  if (!link.empty()) plan.push_back({elevated ? kElevatedVerb : "", std::move(link), store.ReadString(name, "Param", "")});
  return plan;
}

}  // namespace corvane
