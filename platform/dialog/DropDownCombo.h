#pragma once

#include <QComboBox>

// A drop-down list with an edit field. Enter and Return with the list closed belong to the
// dialog (its default button), as on the platform; Qt's editable combo box would keep them.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownCombo(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
