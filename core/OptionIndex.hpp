// The option flags that steer behaviour, by their index in OptionFlags. The flags not named here
// (0, 2, 6, 7, 13) only mark the selected button of their group; a click on button 11 lowers the
// main window.
#pragma once

namespace quarnel {

inline constexpr int cOptSortAlphabetically = 1;
inline constexpr int cOptWithoutPath = 3;
inline constexpr int cOptFolderNamesOnly = 4;
inline constexpr int cOptFileNamesOnly = 5;
inline constexpr int cOptUpperCase = 8;
inline constexpr int cOptLowerCase = 9;
inline constexpr int cOptAlwaysOnTop = 10;
inline constexpr int cOptNormalPlacement = 11;
inline constexpr int cOptExpandFolders = 12;

}  // namespace quarnel
