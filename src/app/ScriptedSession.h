#pragma once

class CtavrolabDlg;

// The program's own process tests drive a running program from outside. Nothing happens unless
// the environment asks for it:
//   TAVROLAB_ANSWERS     the buttons to press in the program's questions, by caption, separated
//                        by "|" and taken in order (Escape once they are used up); error boxes
//                        are then not shown but logged;
//   TAVROLAB_DIALOG_LOG  a file that receives every question and error shown, with the answer;
//   TAVROLAB_SCRIPT      steps run after start-up, separated by ";": "width=MM" types the
//                        opening width into its field, "save" clicks "Сохранить", "dump=PATH"
//                        writes the sketch file's bytes of the project as it is, without saving,
//                        "title" logs the window title, "wait=MS" pauses, "quit" closes the
//                        window.
// The steps go through real key and mouse events, as a user's would.
namespace scripted {

// Installs the answers and the log before any question can be asked.
void installAnswers();
// Starts the script (when there is one) once the event loop runs.
void startScript(CtavrolabDlg& window);

} // namespace scripted
