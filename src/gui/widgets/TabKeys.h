#pragma once

class QPlainTextEdit;
class QRadioButton;

namespace varnek {

// Tab and Shift+Tab take the focus out of a multi-line field to the next or
// previous control, as from any other field, so that no tab character is
// typed into a text by walking through a page; Ctrl+Tab types one where it
// is wanted. In a read-only field Ctrl+Tab still goes to the next page.
void LetTabLeave(QPlainTextEdit* field);

// Tab into a group of choices lands on the chosen one, as Space there would
// otherwise choose another by mistake; the arrows move among them.
void TabToTheChosenOne(QRadioButton* choice);

}  // namespace varnek
