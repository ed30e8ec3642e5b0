#pragma once
// The main window's side of the rename journal: "Annuler le dernier renommage" (mnuEditUndo,
// Ctrl+Z) and, at start-up, the question about a rename that was interrupted.

class wMain;

// Gives the files of the last rename their old names back after a confirmation; the rows of
// those files follow them and are checked again; files left alone are listed.
void UndoLastRename(wMain& window);

// For each interrupted rename: asks whether to give the files their old names back or to
// finish the renaming (or to decide later), does it, and says what could not be done. A
// damaged journal is reported and nothing moves.
void OfferRecovery(wMain& window);
