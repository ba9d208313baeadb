#pragma once
// File dialog filters: the "Name|*.a;*.b|...||" lists the windows define,
// turned into the form Qt's dialogs take and show.

#include <QString>

namespace orv {

// "Name (*.a,*.b)|*.a;*.b|All Files(*.*)|*.*||" becomes
// "Name (*.a *.b);;All Files (*)": a pattern list already written in the
// name is replaced by the real patterns so they are shown once, and "*.*"
// becomes "*" so names without a dot are listed too.
QString QtFileFilter(const QString &listFilter);

// The extension a Qt-form filter such as "JPEG Files (*.jpg)" stands for: that
// of its first "*.ext" pattern; empty for "All Files (*)" and for no filter.
QString FilterExtension(const QString &qtFilter);

}  // namespace orv
