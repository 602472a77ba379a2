#pragma once

// The tabs' places for IMainWindow::refreshTabForms, in the order of the form
// plug-in list. Offline the search tab is left out; the tabs before it keep
// their places in both modes.
namespace TabIndex {

enum : int { Library = 0, Study = 1, Create = 2, Search = 3 };

} // namespace TabIndex
