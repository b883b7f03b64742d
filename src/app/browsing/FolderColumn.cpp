#include "FolderColumn.h"

#include <QKeyEvent>

namespace wex {

FolderColumn::FolderColumn(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideMiddle);
    setFrameShape(QFrame::NoFrame);
}

void FolderColumn::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            emit acrossRequested(event->key() == Qt::Key_Left ? -1 : 1);
            event->accept();
            return;
        }
    }
    const QPersistentModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before)
        emit keyboardMoved(currentIndex());
}

} // namespace wex
