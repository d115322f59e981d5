// OptionForm: six frames in two columns and three rows, each holding one group of option
// buttons. An option button's index is its index into OptionFlags; its container is its frame,
// and the buttons of one frame are one radio group.
#pragma once

#include <algorithm>
#include <array>

#include "ControlTable.hpp"
#include "core/OptionStorage.hpp"
#include "core/ProgramState.hpp"

namespace quarnel::OptionFormTable {

inline constexpr WindowLayout cWindow{4845, 3975, 0, 0, true};

inline constexpr int cFrameCount = 6;

inline constexpr std::array cControls{
    ControlRow{ControlKind::Frame, "Frame1", 0, {}, "Sortierung", 60, 1260, 2295, 1095, 14},
    ControlRow{ControlKind::Frame, "Frame1", 1, {}, "Aufbau", 2460, 60, 2295, 1095, 15},
    ControlRow{ControlKind::Frame, "Frame1", 2, {}, "Auswahl", 60, 2460, 2295, 1455, 16},
    ControlRow{ControlKind::Frame, "Frame1", 3, {}, "Schreibweise", 2460, 2460, 2295, 1455, 17},
    ControlRow{ControlKind::Frame, "Frame1", 4, {}, "Fensterposition", 60, 60, 2295, 1095, 18},
    ControlRow{ControlKind::Frame, "Frame1", 5, {}, "Bearbeitung", 2460, 1260, 2295, 1095, 19},
    ControlRow{
        ControlKind::OptionButton, "Opt", 0, {"Frame1", 0}, "&Keine", 180, 300, 1635, 195, 2},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               1,
               {"Frame1", 0},
               "&Alphabethisch",
               180,
               660,
               1635,
               195,
               3},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               2,
               {"Frame1", 1},
               "Mit komplettem &Pfad",
               180,
               660,
               1935,
               255,
               8},
    ControlRow{
        ControlKind::OptionButton, "Opt", 3, {"Frame1", 1}, "&Ohne Pfad", 180, 300, 1635, 195, 7},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               4,
               {"Frame1", 2},
               "&Verzeichnisnamen",
               180,
               660,
               1635,
               195,
               5},
    ControlRow{
        ControlKind::OptionButton, "Opt", 5, {"Frame1", 2}, "&Dateinamen", 180, 300, 1815, 195, 4},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               6,
               {"Frame1", 2},
               "Datei &und Verz.-Namen",
               180,
               1020,
               1995,
               195,
               6},
    ControlRow{
        ControlKind::OptionButton, "Opt", 7, {"Frame1", 3}, "&Belassen", 120, 300, 1935, 255, 11},
    ControlRow{
        ControlKind::OptionButton, "Opt", 8, {"Frame1", 3}, "&Groß", 120, 660, 1935, 255, 12},
    ControlRow{
        ControlKind::OptionButton, "Opt", 9, {"Frame1", 3}, "K&lein", 120, 1020, 1935, 255, 13},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               10,
               {"Frame1", 4},
               "&Immer &oben",
               180,
               660,
               1635,
               195,
               1},
    ControlRow{
        ControlKind::OptionButton, "Opt", 11, {"Frame1", 4}, "&Normal", 180, 300, 1635, 195, 0},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               12,
               {"Frame1", 5},
               "Verzeichnisse aufl&ösen",
               180,
               660,
               1935,
               195,
               10},
    ControlRow{ControlKind::OptionButton,
               "Opt",
               13,
               {"Frame1", 5},
               "Verz.-Namen übergeben",
               180,
               300,
               2055,
               195,
               9},
};

static_assert(std::ranges::all_of(cControls,
                                  [](const ControlRow& control) {
                                      return control.kind == ControlKind::Frame ||
                                             control.kind == ControlKind::OptionButton;
                                  }),
              "OptionForm is made of frames and option buttons only");

// One button for each option flag, and one character of the default value: a flag without its
// button would leave the dialogs reaching for a button that is not there.
static_assert(
    [] {
        std::array<int, cOptionCount> buttons{};
        for (const ControlRow& control : cControls) {
            if (control.kind != ControlKind::OptionButton) continue;
            if (control.index < 0 || control.index >= cOptionCount) return false;
            ++buttons[static_cast<std::size_t>(control.index)];
        }
        return std::ranges::all_of(buttons, [](int count) { return count == 1; });
    }(),
    "OptionForm holds exactly one button for each option flag");
static_assert(cDefaultOptions.size() == cOptionCount,
              "the default value holds one character for each option flag");

}  // namespace quarnel::OptionFormTable
