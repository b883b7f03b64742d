#pragma once
// The quick filter's field above the mail table, and the count of rows it
// lets through on the title window's status line ("N of M mails", shown
// while words are set). What is typed filters at once; Escape clears the
// words and hands the focus back to the table; Return, Enter and Down hand
// it back keeping them. Another list clearing the words empties the field.
//
// The title list, the field and the status bar must outlive this object.
#include <QObject>

class QLabel;
class QLineEdit;
class QStatusBar;

namespace wex {

class MailTitles;

class QuickFilterField : public QObject {
    Q_OBJECT
public:
    QuickFilterField(MailTitles &titles, QLineEdit &field, QStatusBar &status, QObject *parent = nullptr);

    // Brings the title window forward with the field focused, its words
    // selected so typing replaces them.
    void focusFilter();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCount();

    MailTitles &titles_;
    QLineEdit &field_;
    QLabel *count_; // owned by the status bar
};

} // namespace wex
