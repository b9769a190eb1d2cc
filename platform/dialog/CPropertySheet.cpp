#include "platform/dialog/CPropertySheet.h"

#include <algorithm>

#include "platform/dialog/MessageBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent, UINT selectPage)
    : QDialog(parent), m_tabs(new QTabWidget(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply | QDialogButtonBox::Help,
                                     this)),
      m_startPage(int(selectPage)) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Every way of changing tabs goes through SetActivePage, so validation can refuse it.
    m_tabs->tabBar()->installEventFilter(this);
    // All captions stay in sight: the sheet widens to its tabs rather than scrolling them.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideNone);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertySheet::onTabBarChanged);
    const auto shortcut = [this](QKeySequence keys, int delta) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, [this, delta] { stepPage(delta); });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), +1);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), +1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);

    button(QDialogButtonBox::Ok)->setDefault(true);
    button(QDialogButtonBox::Apply)->setEnabled(false);
    connect(button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &CPropertySheet::onOk);
    connect(button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &CPropertySheet::onApplyNow);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, &CPropertySheet::helpRequested);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &CPropertySheet::helpRequested);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->addTab(page, page->GetCaption());
    }
    connect(page, &CPropertyPage::modifiedChanged, this, &CPropertySheet::updateApplyButton);
    // A page's window may be destroyed before the sheet (the program destroys its pages first);
    // then it simply leaves the sheet. By then it is only a QObject, so the pointer kept here
    // is compared, never cast down to. The active index follows, and when the active page
    // goes none is active: the tab change its removal causes activates nothing.
    connect(page, &QObject::destroyed, this, [this, page] {
        const auto gone = std::find(m_pages.begin(), m_pages.end(), page);
        if (gone == m_pages.end())
            return;
        const int index = int(gone - m_pages.begin());
        m_pages.erase(gone);
        if (index == m_active)
            m_active = -1;
        else if (index < m_active)
            --m_active;
    });
}

int CPropertySheet::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return m_active >= 0 && m_active < GetPageCount() ? GetPage(m_active) : nullptr;
}

void CPropertySheet::showEvent(QShowEvent* event) {
    if (m_active < 0 && !m_pages.empty()) {
        activate(qBound(0, m_startPage, GetPageCount() - 1));
        // The sheet opens with the focus on the page's first control, ready for the keyboard.
        const CPropertyPage* page = GetActivePage();
        for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
            if (page->isAncestorOf(w) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    // The button box makes its default button its focus proxy when shown, which would let Tab
    // jump from the tab bar to OK and skip the page.
    m_buttons->setFocusProxy(nullptr);
    QDialog::showEvent(event);
}

void CPropertySheet::keepButtonsLastInTabOrder() {
    // A page's controls join the end of the focus chain when they are created; the buttons
    // follow them again, so Tab goes tab bar, page (in template order), OK, Cancel, Apply, Help.
    QWidget* previous = previousInFocusChain();
    while (previous->focusPolicy() == Qt::NoFocus) // setTabOrder ignores such widgets
        previous = previous->previousInFocusChain();
    for (const auto which : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel,
                             QDialogButtonBox::Apply, QDialogButtonBox::Help}) {
        QPushButton* next = button(which);
        if (previous != next)
            setTabOrder(previous, next);
        previous = next;
    }
}

void CPropertySheet::activate(int index) {
    CPropertyPage* page = GetPage(index);
    if (!page->isWindowCreated()) {
        page->createPageWindow();
        keepButtonsLastInTabOrder();
    }
    m_active = index;
    page->OnSetActive();
    const QSignalBlocker blocker(m_tabs);
    m_tabs->setCurrentIndex(index);
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    if (index == m_active)
        return TRUE;
    if (CPropertyPage* current = GetActivePage(); current && !current->OnKillActive())
        return FALSE;
    const bool focusInPage = m_active >= 0 && GetActivePage()->isAncestorOf(focusWidget());
    activate(index);
    if (focusInPage)
        m_tabs->tabBar()->setFocus(Qt::TabFocusReason);
    return TRUE;
}

void CPropertySheet::stepPage(int delta) {
    const int count = GetPageCount();
    if (count > 0)
        SetActivePage(((m_active + delta) % count + count) % count);
}

void CPropertySheet::onTabBarChanged(int index) {
    // Reached only when something other than our own paths moved the tabs: undo, then ask.
    // Once the sheet has closed, or its active page has gone, the only such thing is a page
    // being destroyed, which must not bring up (and load, and validate) another page.
    if (index == m_active || m_active < 0 || !isVisible())
        return;
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_active);
    }
    SetActivePage(index);
}

bool CPropertySheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_tabs->tabBar())
        return QDialog::eventFilter(watched, event);
    QTabBar* bar = m_tabs->tabBar();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int index = bar->tabAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index >= 0 && index != m_active) {
            SetActivePage(index);
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        int target = -1;
        if (key == Qt::Key_Left || key == Qt::Key_Up)
            target = m_active - 1;
        else if (key == Qt::Key_Right || key == Qt::Key_Down)
            target = m_active + 1;
        else if (key == Qt::Key_Home)
            target = 0;
        else if (key == Qt::Key_End)
            target = GetPageCount() - 1;
        else
            break;
        if (target >= 0 && target < GetPageCount())
            SetActivePage(target);
        return true;
    }
    case QEvent::Wheel:
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

bool CPropertySheet::applyChanges() {
    if (CPropertyPage* current = GetActivePage(); current && !current->OnKillActive())
        return false;
    if (!applyPages())
        return false;
    for (CPropertyPage* page : m_pages)
        page->SetModified(FALSE);
    return true;
}

bool CPropertySheet::applyPages() {
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = GetPage(i);
        if (!page->isWindowCreated())
            continue;
        if (!page->OnApply()) {
            SetActivePage(i);
            return false;
        }
    }
    return true;
}

void CPropertySheet::onOk() {
    if (applyChanges())
        accept();
}

void CPropertySheet::onApplyNow() {
    applyChanges();
}

void CPropertySheet::updateApplyButton() {
    const bool anyModified = std::any_of(m_pages.begin(), m_pages.end(),
                                         [](const CPropertyPage* p) { return p->isModified(); });
    button(QDialogButtonBox::Apply)->setEnabled(anyModified);
}
