#pragma once
// Edits the font of each language group from the preferences window: a click
// on a row of the font table (or Return, Enter or Space on the current row)
// opens the font dialog, modally, on that
// language's font; a font chosen there (OK) becomes the language's font, used
// for the next mail shown; Cancel changes nothing. The fonts are written at
// termination (CodingFonts).
//
// Ownership: owns the table's model; the coding, the fonts and the table view
// (the preferences window's) must outlive it.
#include <QObject>
#include <memory>

class QFont;
class QTableView;

namespace wex {

class Coding;
class CodingFonts;
class FontTableModel;

class FontTable : public QObject {
    Q_OBJECT
public:
    // Shows the fonts in table; its clicks choose fonts.
    FontTable(const Coding &coding, CodingFonts &fonts, QTableView &table, QObject *parent = nullptr);
    ~FontTable() override;
    FontTableModel *model() const { return model_.get(); }

    // Opens the font dialog for a row; a row outside the table does nothing.
    // Returns when the dialog is closed.
    void selectFont(int row);
    // The font chosen for the row last selected.
    void changeFont(const QFont &font);
    int lastRow() const { return lastRow_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CodingFonts &fonts_;
    std::unique_ptr<FontTableModel> model_;
    QTableView &table_;
    int lastRow_ = -1;
};

} // namespace wex
