#pragma once
// The program's end, whoever asks for it: the last window unloading, SIGTERM or SIGHUP (a
// logout, a shutdown, a closed terminal) and the session manager's end (its "die", which Qt
// hands the application as a Quit event). Each takes the same road, from the event loop:
//   1. every sendmail program still running is asked to end (SIGTERM to its process group);
//   2. every window still loaded unloads without being asked, newest first, so that each saves
//      what its own unload saves (the questions, the reading text, the chat history...);
//   3. the files being written in the background are finished;
//   4. a sendmail program still running after the grace (MailSender::EndGraceMs) is ended with
//      its group, and so is whatever it started;
//   5. the event loop ends (every nested one too), and main returns as usual.
// The signal handler only writes a byte to a pipe that the event loop reads. A signal that
// comes while the program is ending changes nothing: the road under way finishes. No message
// box opens while the program ends (MsgBox::Show writes the text to standard error and answers
// as a closed box); what was saved is written through SafeFile, never half.

namespace ProgramEnd {

// Catches SIGTERM and SIGHUP (one the program was started ignoring stays ignored) and the
// application's Quit. Called once by main, after the application exists.
void Install();

// Takes the road above now (does nothing when the program is already ending).
void EndNow();

// True from the moment the road starts.
bool Ending();

} // namespace ProgramEnd
