#pragma once
// The reading side of the application alone, wired as the Assembly wires it,
// over real mail files in a scratch folder: the title list with its table and
// window, the contents view and the keys. Showing an unread mail starts the
// unread check: only fake programs run.
#include "BrowserTextView.h"
#include "Coding.h"
#include "CodingFonts.h"
#include "DefaultsStore.h"
#include "KeyController.h"
#include "MailContents.h"
#include "FakeSuite.h"
#include "MailTitles.h"
#include "StoreContext.h"
#include "Title.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QScrollBar>
#include <QTableView>
#include <QWidget>
#include <memory>

namespace wex::test {

struct MailSpec {
    QByteArray name;
    QByteArray bytes;
    bool unread = false;
    QString subject = {};
    uint32_t code = 0;
};

class ReadingFixture {
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kVisibleRows = 10;

    ReadingFixture()
        : defaults(dir.pathString() + QStringLiteral("/defaults.json")),
          fonts(coding, defaults),
          titles(coding, defaults, store, table, titleWindow),
          contents(coding, fonts, titles, view, window),
          keys(defaults, titles, view)
    {
        // Exactly kVisibleRows rows fill the table's viewport.
        table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table.verticalHeader()->setMinimumSectionSize(1);
        table.verticalHeader()->setDefaultSectionSize(kRowHeight);
        view.setKeyHandler([this](const QKeyEvent *event) { return keys.handleKeyDown(event); });
        keys.restoreBindings();
        window.resize(500, 300);
        view.setGeometry(0, 0, 500, 300);
        window.show();
        view.show();
        table.show();
        table.resize(400, 200);
        table.resize(400, 200 + table.height() - table.viewport()->height());
        QApplication::processEvents();
    }
    // Shows the titles as the list, no row selected.
    void setTitles(TitleArray array)
    {
        titles.clearSelection();
        titles.setMailTitles(std::move(array));
        table.doItemsLayout();
        QApplication::processEvents();
    }
    // Writes the mails and shows them as the title list (no selection).
    void setMails(const std::vector<MailSpec> &mails)
    {
        TitleArray array;
        for (const MailSpec &m : mails) {
            Title t;
            t.setPath(dir.write(m.name, m.bytes));
            t.setSubject(m.subject.isEmpty() ? QString::fromLatin1(m.name) : m.subject);
            t.setCode(m.code ? m.code : *coding.codeForName(QStringLiteral("UTF8")));
            t.setUnreadState(m.unread);
            array.push_back(t);
        }
        setTitles(std::move(array));
    }

    // n read mails "0.mail".."n-1.mail", each one line of text.
    void setReadMails(int n)
    {
        std::vector<MailSpec> mails;
        for (int i = 0; i < n; ++i)
            mails.push_back({QByteArray::number(i) + ".mail", "mail " + QByteArray::number(i) + "\n"});
        setMails(mails);
    }

    void select(int row)
    {
        table.selectionModel()->setCurrentIndex(table.model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    void clearSelection() { table.selectionModel()->clearSelection(); }
    int selected() const { return titles.selectedRow(); }
    int topRow() const { return table.rowAt(0); }
    int bottomRow() const { return table.rowAt(table.viewport()->height() - 1); }
    void showRowAtTop(int row)
    {
        table.scrollTo(table.model()->index(row, 0), QAbstractItemView::PositionAtTop);
        QApplication::processEvents();
    }

    FakeSuite suite; // first: set up before anything can start a program
    TestDir dir;
    Coding coding;
    DefaultsStore defaults;
    CodingFonts fonts;
    StoreContext store;
    QTableView table;
    QMainWindow titleWindow;
    MailTitles titles;
    QWidget window;
    BrowserTextView view{&window};
    MailContents contents;
    KeyController keys;
};

} // namespace wex::test
