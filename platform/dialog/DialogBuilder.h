#pragma once

#include "platform/DialogTemplate.h"
#include "platform/dialog/DialogUnits.h"

#include <QHash>
#include <QWidget>

// Creates every control of a template inside parent, at its template position, in template
// order (which is the tab order), and returns the controls that have an ID.
class DialogBuilder {
public:
    static QHash<int, QWidget*> build(const DialogTemplate& dialog, QWidget* parent);
    // The page size the template asks for, in pixels of parent's font.
    static QSize pageSize(const DialogTemplate& dialog, const QWidget* parent);

private:
    static QWidget* createControl(const ControlTemplate& control, QWidget* parent,
                                  const DialogUnits& du);
    // How much wider than the font's dialog units the page must be for every one-line
    // caption to fit its box; at least 1.
    static double captionStretch(const DialogTemplate& dialog, const QWidget* parent);
};
