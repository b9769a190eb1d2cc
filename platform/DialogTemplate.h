#pragma once

#include <initializer_list>
#include <span>

// Dialog templates are data: one table per page, laid out by DialogBuilder.

enum class ControlKind {
    CheckBox, // automatic check box
    PushButton,
    Edit,     // single line unless ES_MULTILINE
    ComboBox, // drop-down with an edit field
    GroupBox,
    Static,  // left-aligned text
    Picture, // a bitmap from the resources, sized to the bitmap
};

// Style bits, named after the platform's.
enum ControlStyle : unsigned {
    WS_TABSTOP = 1u << 0,
    WS_DISABLED = 1u << 1,
    WS_BORDER = 1u << 2,
    WS_VSCROLL = 1u << 3,
    ES_NUMBER = 1u << 4,
    ES_AUTOHSCROLL = 1u << 5,
    ES_MULTILINE = 1u << 6,
    ES_READONLY = 1u << 7,
    CBS_SORT = 1u << 8,
    WS_EX_STATICEDGE = 1u << 9,
    WS_EX_CLIENTEDGE = 1u << 10,
};

inline constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption; // for a picture: the resource path of its bitmap
    int x, y, cx, cy;    // dialog units
    unsigned style;
    // Items the dialog's initialisation data adds to a list when the window is created.
    std::span<const char* const> items = {};
    // What a screen reader calls a control that has no caption of its own (a list, an edit
    // box). Controls with a caption are known by it.
    const char* accessibleName = nullptr;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int cx, cy; // dialog units
    std::span<const ControlTemplate> controls;
};
