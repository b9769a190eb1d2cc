#pragma once

#include <QComboBox>

// A drop-down list with an edit field. Enter and Return with the list closed belong to the
// dialog (its default button), as on the platform; Qt's editable combo box would keep them.
//
// The edit field's completer (Qt's default: inline and case-insensitive) is made when the box
// first takes focus or input: most boxes of a sheet are never typed in, and a completer costs
// as much to make as the rest of the box.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownCombo(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static bool needsCompleter(const QEvent* event);
    void ensureCompleter();

    bool m_completerMade = false;
};
