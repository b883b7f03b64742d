#include "FolderColumn.h"

#include <QKeyEvent>
#include <QMouseEvent>

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

void FolderColumn::notePress(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton && currentIndex().isValid()
               && indexAt(event->position().toPoint()) == currentIndex();
}

void FolderColumn::mousePressEvent(QMouseEvent *event)
{
    QListView::mousePressEvent(event);
    notePress(event);
}

void FolderColumn::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    notePress(event);
}

void FolderColumn::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    if (currentIndex().isValid())
        emit folderClicked(currentIndex());
}

} // namespace wex
