#pragma once
// The title window's report of a folder load in progress: a count of the
// mails read and a progress bar at the right of its status line, shown only
// while a load reports progress.
//
// Ownership: the label and the bar belong to the window's status bar; the
// window must outlive this object or be given as nullptr.
#include <QObject>
#include <QPointer>

class QLabel;
class QMainWindow;
class QProgressBar;

namespace wex {

class LoadProgress : public QObject {
    Q_OBJECT
public:
    explicit LoadProgress(QObject *parent = nullptr);

    // The window whose status line shows the progress (created there on
    // first use); nullptr shows nothing.
    void setWindow(QMainWindow *window);

    // read of total entries; total 0 while the folder is still being listed.
    void showProgress(qint64 read, qint64 total);
    void hideProgress();
    bool isShown() const;
    QString text() const; // what the label says (empty when hidden)

private:
    void ensureWidgets();

    QPointer<QMainWindow> window_;
    QPointer<QLabel> label_;
    QPointer<QProgressBar> bar_;
};

} // namespace wex
