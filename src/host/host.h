// The portable core's only way to reach the screen.
//
// Everything the core does to the user interface -- message boxes and
// questions, password prompts, the window title and status text, menu
// states, repaints, beeps -- goes through the one Host object installed with
// setHost().  The Win32 program installs a host that talks to real windows,
// the command-line tool one that prints to standard error, and the tests a
// recording fake.  Until a host is installed a silent default is used that
// answers every question with No.
#pragma once

#include <cstdint>
#include <string>

enum class PasswordPrompt { Open, Add };
enum class ViewId { Overview, DataView };
enum class FileDialog { Open, Add, Save, SaveEntryBlock, SaveTextBlock, AnyFile, ImportContacts, ExportContacts };
enum class BlockChoice { Block, All, Closed };

struct Host {
    virtual ~Host() = default;

    // True once the main window exists; title and status updates are skipped before.
    virtual bool mainWindowExists() { return false; }

    virtual void beep() {}
    // Stop icon, set-foreground, topmost, no owner.  Callers beep first.
    virtual void showError(const char* caption, const char* text) { (void)caption; (void)text; }
    // Information icon, owned by the main window.
    virtual void showInfo(const char* caption, const char* text) { (void)caption; (void)text; }
    // Yes/No with the question icon; ownedTopmost asks for the main window
    // as owner and the topmost style.  Returns true for Yes.
    virtual bool askYesNo(const char* caption, const char* text, bool ownedTopmost)
    {
        (void)caption; (void)text; (void)ownedTopmost;
        return false;
    }
    // Modal password dialog: writes a NUL-terminated password of at most
    // 19 characters into the 20-byte buffer.
    virtual void askPassword(PasswordPrompt which, char* buffer20) { (void)which; (void)buffer20; }

    virtual void minimizeMainWindow() {}
    virtual void restoreMainWindow() {}
    virtual void setTitle(const char* text) { (void)text; }
    virtual void setStatusText(const char* text) { (void)text; }
    virtual void enableMenuItem(int id, bool enabled) { (void)id; (void)enabled; }
    virtual void makeViewActive(ViewId view) { (void)view; }
    virtual void repaint(ViewId view) { (void)view; }
    // The Overview's row of the current entry, after its heading changed;
    // hosts that cannot repaint one row repaint the whole Overview.
    virtual void repaintCurrentRow() { repaint(ViewId::Overview); }
    virtual void postQuit() {}

    virtual void setMenuItemText(int id, const char* text) { (void)id; (void)text; }
    virtual void checkMenuItem(int id, bool checked) { (void)id; (void)checked; }

    // The common open or save dialog.  path512 holds the initial file name
    // and receives the chosen one; false when the dialog was cancelled.
    virtual bool chooseFile(FileDialog which, char* path512) { (void)which; (void)path512; return false; }
    // The same for a dialog that offers several file types: type holds the
    // number (from 1) of the type shown first and receives the one chosen.
    virtual bool chooseFileOfType(FileDialog which, char* path512, int& type)
    {
        (void)type;
        return chooseFile(which, path512);
    }
    // The question "You have marked a block! What shall be saved?".
    virtual BlockChoice askBlockOrAll() { return BlockChoice::Closed; }
    // Free bytes on the drive whose root is given ("C:\"), or -1 when
    // no figure can be had; then every write is taken to fit.
    virtual int64_t freeDiskSpace(const char* root) { (void)root; return -1; }
    virtual std::string currentDirectory() { return {}; }

    // Yes/No/Cancel with the question icon, set-foreground and topmost.
    enum class Answer { Yes, No, Cancel };
    virtual Answer askYesNoCancel(const char* caption, const char* text)
    {
        (void)caption; (void)text;
        return Answer::Cancel;
    }
    // The dialog that sets the current password (typed twice); it leaves
    // currentPassword empty when the user gives none.
    virtual void askNewPassword() {}
};

Host& host();
void setHost(Host* newHost);   // nullptr restores the silent default
