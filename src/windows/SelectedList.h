#pragma once

#include <QListWidget>

// A list of single selection that, once filled, always has its current line selected: a
// Ctrl+click or Ctrl+Space on that line, which would deselect it, selects it again, and a click
// past the last line changes nothing; so the buttons acting on the current line act on the line
// the user sees highlighted.
class SelectedList : public QListWidget {
    Q_OBJECT
public:
    explicit SelectedList(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};
