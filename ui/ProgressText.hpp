// The progress window's texts, the same in both toolkits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarnel {

// "Liste wird erstellt – Quarnel! 2.5"
std::string ProgressTitle();

inline constexpr std::string_view cProgressLine = "Die Liste wird erstellt …";
inline constexpr std::string_view cProgressCancel = "Abbrechen";

// "1 Name gefunden", "12.345 Namen gefunden": German digit groups of three, set apart by ".".
std::string NamesFoundText(std::uint64_t count);

}  // namespace quarnel
