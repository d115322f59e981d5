// Owning handles for the GDI and USER objects the windows create, named without windows.h.
// windows.h declares the same structs (STRICT handles).
#pragma once

#include <memory>

struct HFONT__;
struct HICON__;

namespace quarnel {

struct FontDeleter {
    void operator()(HFONT__* font) const;
};
using UniqueFont = std::unique_ptr<HFONT__, FontDeleter>;

struct IconDestroyer {
    void operator()(HICON__* icon) const;
};
using UniqueIcon = std::unique_ptr<HICON__, IconDestroyer>;

}  // namespace quarnel
