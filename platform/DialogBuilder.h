#pragma once

#include "platform/DialogTemplate.h"

#include <QHash>
#include <QWidget>

// Creates every control of a template inside parent, at its template position, in template
// order (which is the tab order), and returns the controls that have an ID.
class DialogBuilder {
public:
    static QHash<int, QWidget*> Build(const DialogTemplate& dialog, QWidget* parent);
    // The page size the template asks for, in pixels of parent's font.
    static QSize PageSize(const DialogTemplate& dialog, const QWidget* parent);

private:
    static QWidget* CreateControl(const ControlTemplate& control, QWidget* parent);
};
