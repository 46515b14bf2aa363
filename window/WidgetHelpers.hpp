#pragma once

#include <QString>

#include <string>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace brindleaf {

// Shows `text` in a field; only a change of value may move the cursor of the field being
// typed in.
void showText(QLineEdit* field, const std::string& text);
// Shows a toggle's state without reporting it as the user's change.
void showToggle(QCheckBox* toggle, bool on);
// A label's text without its keyboard mnemonic: "&Prefix" and "接頭辞(&P)" read "Prefix"
// and "接頭辞" where no mnemonic applies.
QString withoutMnemonic(const QString& text);
// Marks a widget as being in a state, or no longer. A new style sheet costs a polish of the
// widget, so it is set only when the state changes, not on every keystroke.
void showState(QWidget* widget, const char* state, bool on, const QString& styleWhenOn);
// A label that shows its text as it is, never as markup, named for tests and styles.
QLabel* plainLabel(QWidget* parent, const char* objectName);
// `field` beside a label that names it, its buddy, in one widget that wraps as one.
QWidget* labelledPair(QWidget* parent, const QString& label, QWidget* field);
// The width at which `field` shows `text` whole: a placeholder names the field where its
// label is out of sight, and some languages make it longer than a field's usual width.
[[nodiscard]] int widthShowing(const QLineEdit* field, const QString& text);
// Many styles draw a disabled field's placeholder as dark as an enabled one's, so that an
// empty field looks filled in while a run disables the window: under `window`, it is drawn
// fainter than the text of a disabled field.
void fadeDisabledPlaceholders(QWidget* window);
// A row whose widgets gather in its middle.
QHBoxLayout* centredRow();

} // namespace brindleaf
