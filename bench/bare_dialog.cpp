// The yardstick for start-up: the least a Qt program with a tabbed dialog does before its
// window shows. Six empty tabs and the sheet's four buttons.

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare tab dialog"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* tabs = new QTabWidget(&dialog);
    for (const char* caption :
         {"Weapons", "Gomble Stuff", "Server Options", "Services", "C.T.F.", "About"})
        tabs->addTab(new QWidget(tabs), QString::fromLatin1(caption));
    layout->addWidget(tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                             QDialogButtonBox::Apply | QDialogButtonBox::Help,
                                         &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(420, 360);
    return dialog.exec();
}
