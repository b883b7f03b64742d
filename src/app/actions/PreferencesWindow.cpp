#include "PreferencesWindow.h"

#include "ui_PreferencesWindow.h"

namespace wex {

PreferencesWindow::PreferencesWindow(QWidget *parent)
    : QDialog(parent), form_(std::make_unique<Ui::PreferencesWindow>())
{
    form_->setupUi(this);
}

PreferencesWindow::~PreferencesWindow() = default;

QCheckBox *PreferencesWindow::downloadAtStartUpSwitch() const { return form_->downloadAtStartUpSwitch; }
QCheckBox *PreferencesWindow::repeatDownloadSwitch() const { return form_->repeatDownloadSwitch; }
QCheckBox *PreferencesWindow::headerCacheSwitch() const { return form_->headerCacheSwitch; }
QCheckBox *PreferencesWindow::notifyNewMailSwitch() const { return form_->notifyNewMailSwitch; }
QLineEdit *PreferencesWindow::downloadIntervalField() const { return form_->downloadIntervalField; }
QTableView *PreferencesWindow::keyTable() const { return form_->keyTable; }
QPushButton *PreferencesWindow::addKeyButton() const { return form_->addKeyButton; }
QPushButton *PreferencesWindow::removeKeyButton() const { return form_->removeKeyButton; }
QPushButton *PreferencesWindow::removeAllKeyButton() const { return form_->removeAllKeyButton; }
QTableView *PreferencesWindow::fontTable() const { return form_->fontTable; }
QPushButton *PreferencesWindow::doneButton() const { return form_->doneButton; }

} // namespace wex
