#pragma once
// The title list, contents view and keys alone, wired as the Assembly wires them, over real mail files.
#include "AppTestSupport.h"
#include "BrowserTextView.h"
#include "Coding.h"
#include "CodingFonts.h"
#include "DefaultsStore.h"
#include "FakeSuite.h"
#include "KeyController.h"
#include "MailContents.h"
#include "StoreContext.h"
#include "TitleTableModel.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QScrollBar>

namespace wex::test {

struct MailSpec {
    QByteArray name, bytes;
    bool unread = false;
    QString subject = {}; // the name when empty
    uint32_t code = 0;    // UTF-8 when 0
};

class ReadingFixture {
public:
    ReadingFixture()
    {
        // Exactly 10 rows fill the table's viewport.
        table.verticalHeader()->setMinimumSectionSize(1);
        table.verticalHeader()->setDefaultSectionSize(20);
        view.setKeyHandler([this](const QKeyEvent *event) { return keys.handleKeyDown(event); });
        keys.restoreBindings();
        view.setGeometry(0, 0, 500, 300);
        window.show();
        table.show();
        table.resize(400, 200 + table.height() - table.viewport()->height());
    }
    // Writes the mails and makes them the list as given: no sort, no row selected.
    void setMails(const std::vector<MailSpec> &mails)
    {
        TitleArray array;
        for (const MailSpec &m : mails) {
            Title &t = array.emplace_back();
            t.setPath(dir.write(m.name, m.bytes));
            t.setSubject(m.subject.isEmpty() ? QString::fromLatin1(m.name) : m.subject);
            t.setCode(m.code ? m.code : *coding.codeForName(QStringLiteral("UTF8")));
            t.setUnreadState(m.unread);
        }
        titles.clearSelection();
        titles.titleModel()->setTitles(std::move(array));
        table.doItemsLayout();
        QApplication::processEvents();
    }
    void setReadMails(int n, const QByteArray &text = "one line\n") // "0.mail".."n-1.mail"
    {
        std::vector<MailSpec> mails;
        for (int i = 0; i < n; ++i)
            mails.push_back({QByteArray::number(i) + ".mail", text});
        setMails(mails);
    }
    void select(int row) { SelectRows(table, {row}); } // as a click: the row's mail shown
    int selected() const { return titles.selectedRow(); }
    int topRow() const { return table.rowAt(0); }
    void showRowAtTop(int row)
    {
        table.scrollTo(table.model()->index(row, 0), QAbstractItemView::PositionAtTop);
        QApplication::processEvents();
    }

    FakeSuite suite; // first: set up before anything can start a program
    TestDir dir;
    Coding coding;
    DefaultsStore defaults{dir.pathString() + QStringLiteral("/defaults.json")};
    CodingFonts fonts{coding, defaults};
    StoreContext store{{}, dir.path(), dir.pathString()};
    QTableView table;
    QMainWindow titleWindow;
    MailTitles titles{coding, defaults, store, table, titleWindow};
    QWidget window;
    BrowserTextView view{&window};
    MailContents contents{coding, fonts, titles, view, window};
    KeyController keys{defaults, titles, view};
};

} // namespace wex::test
