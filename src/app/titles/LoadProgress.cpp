#include "LoadProgress.h"

#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>

namespace wex {

LoadProgress::LoadProgress(QObject *parent) : QObject(parent) {}

void LoadProgress::setWindow(QMainWindow *window)
{
    hideProgress();
    window_ = window;
}

void LoadProgress::ensureWidgets()
{
    if (!window_ || (label_ && bar_))
        return;
    label_ = new QLabel;
    bar_ = new QProgressBar;
    bar_->setMaximumWidth(160);
    bar_->setMaximumHeight(14);
    bar_->setTextVisible(false);
    bar_->setAccessibleName(tr("Reading mails"));
    window_->statusBar()->addPermanentWidget(label_);
    window_->statusBar()->addPermanentWidget(bar_);
}

void LoadProgress::showProgress(qint64 read, qint64 total)
{
    ensureWidgets();
    if (!label_ || !bar_)
        return;
    const QLocale locale;
    if (total <= 0) {
        label_->setText(tr("Listing the folder…"));
        bar_->setRange(0, 0); // no end known yet
    } else {
        label_->setText(tr("Reading mails: %1 of %2").arg(locale.toString(read), locale.toString(total)));
        // The bar counts in thousandths: a range of ints holds any folder.
        bar_->setRange(0, 1000);
        bar_->setValue(int(std::min<qint64>(read, total) * 1000 / total));
    }
    label_->show();
    bar_->show();
}

void LoadProgress::hideProgress()
{
    if (label_) {
        label_->hide();
        label_->clear();
    }
    if (bar_)
        bar_->hide();
}

bool LoadProgress::isShown() const { return bar_ && !bar_->isHidden(); }

QString LoadProgress::text() const { return label_ && !label_->isHidden() ? label_->text() : QString(); }

} // namespace wex
