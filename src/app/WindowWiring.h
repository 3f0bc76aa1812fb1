#pragma once

struct Platform;
class Form1;
struct LayoutState;

// How the program's windows find each other. The windows know only the ones they own; the
// connections between windows of different rooms are made here, once, for the whole run.

// Every editor the journal window opens gets its preview button wired to MDIForm1::open(); the
// frame becomes the editor's certificate, owned by it.
void serveEditorsOf(Form1 &journalWindow, Platform &platform, LayoutState &state);
