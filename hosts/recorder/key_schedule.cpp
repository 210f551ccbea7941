// key_schedule.cpp: parsing of the recorder's timed key presses.
#include "key_schedule.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "vkr_lowLevelCodes.h"

namespace {

constexpr uint32_t kDefaultHoldMs = 100;

struct ButtonName {
  std::string_view name;
  uint32_t mask;
};

constexpr std::array<ButtonName, 20> kButtonNames = {{
    {"Up", VKR_BUTTON_UP},           {"UpLeft", VKR_BUTTON_UP_LEFT},
    {"Left", VKR_BUTTON_LEFT},       {"DownLeft", VKR_BUTTON_DOWN_LEFT},
    {"Down", VKR_BUTTON_DOWN},       {"DownRight", VKR_BUTTON_DOWN_RIGHT},
    {"Right", VKR_BUTTON_RIGHT},     {"UpRight", VKR_BUTTON_UP_RIGHT},
    {"Start", VKR_BUTTON_START},     {"Select", VKR_BUTTON_SELECT},
    {"L", VKR_BUTTON_L},             {"R", VKR_BUTTON_R},
    {"A", VKR_BUTTON_A},             {"B", VKR_BUTTON_B},
    {"X", VKR_BUTTON_X},             {"Y", VKR_BUTTON_Y},
    {"VolDown", VKR_BUTTON_VOLUME_DOWN}, {"VolUp", VKR_BUTTON_VOLUME_UP},
    {"Stick", VKR_BUTTON_STICK},     {"Mute", VKR_BUTTON_VOLUME_DOWN | VKR_BUTTON_VOLUME_UP},
}};

bool ParseNumber(std::string_view text, uint32_t* value) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, *value);
  return failure == std::errc() && stop == end && !text.empty();
}

}  // namespace

std::optional<std::vector<KeyPress>> ParseKeySchedule(const std::string& text, std::string* error) {
  std::vector<KeyPress> presses;
  std::string_view rest(text);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view entry = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);

    const size_t colon = entry.find(':');
    const size_t slash = entry.find('/');
    KeyPress press{0, 0, kDefaultHoldMs};
    const std::string_view name =
        colon == std::string_view::npos ? std::string_view()
                                        : entry.substr(colon + 1, slash == std::string_view::npos
                                                                      ? std::string_view::npos
                                                                      : slash - colon - 1);
    const auto known = std::find_if(kButtonNames.begin(), kButtonNames.end(),
                                    [name](const ButtonName& button) { return button.name == name; });
    if (colon == std::string_view::npos || !ParseNumber(entry.substr(0, colon), &press.atMs) ||
        known == kButtonNames.end() ||
        (slash != std::string_view::npos &&
         (!ParseNumber(entry.substr(slash + 1), &press.holdMs) || press.holdMs == 0))) {
      if (error) *error = "bad key press \"" + std::string(entry) + "\" (want TIME:BUTTON or TIME:BUTTON/HOLD)";
      return std::nullopt;
    }
    press.button = known->mask;
    presses.push_back(press);
  }
  std::stable_sort(presses.begin(), presses.end(),
                   [](const KeyPress& a, const KeyPress& b) { return a.atMs < b.atMs; });
  return presses;
}

uint32_t ButtonsHeldAt(const std::vector<KeyPress>& presses, uint64_t atMs) {
  uint32_t held = 0;
  for (const KeyPress& press : presses)
    if (press.atMs <= atMs && atMs < uint64_t{press.atMs} + press.holdMs) held |= press.button;
  return held;
}
