// A question on the terminal waits for the line that answers it: false when
// a stop request (Ctrl-C while a host holds it) cancels the question first.
#pragma once

bool WaitForAnswerLine();
