#pragma once
#include "../core/ListRules.h"
#include "../core/NoteFile.h"
#include "../framework/Wnd.h"

#include <richedit.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The text area of a note: a rich-edit 2.0 control that holds the note's text for the
// note's whole life, hidden or shown. Fonts cross this interface as a LOGFONT whose
// lfHeight is in twips (1/1440 inch).
class PRichEdit : public fw::Wnd {
public:
    // Where a formatting operation applies. ControlDefault is what the control starts
    // every text from, an RTF text included.
    enum class Scope { WholeText, Selection, ControlDefault };

    // Opens a link's text through the shell; tests replace it.
    using LinkOpener = void (*)(const std::string& target);

    // The most characters the control takes, the same on every build, so that a full
    // note's file can still be read back.
    static constexpr LRESULT kTextLimit = static_cast<LRESULT>(kMaxNoteTextChars);

    ~PRichEdit() override = default;

    // Loads the rich-edit library on first use and makes the control. False when either
    // fails (no library, no room for another window).
    bool Create(DWORD extraStyle, const RECT& rect, HWND parent);
    // Makes one control and destroys it again: the program cannot work without, so a
    // failure is fatal (the library, or the control).
    static void CheckAvailable(HWND parent);

    // "Times New Roman" 12 points, black, over the whole text.
    void SetDefaultFont();
    LRESULT SetTextFont(const LOGFONTW& font, Scope scope);
    void GetSelectionFont(LOGFONTW& font) const;
    COLORREF GetSelectionColor() const;
    LRESULT SetTextColor(COLORREF colour, Scope scope);
    // The colour behind the text. The control paints itself again for each one it is
    // given, so the colour it already has is not given again.
    void SetBackground(COLORREF colour);

    // The whole content, as RTF or as plain text; plain text is in the program's code
    // page, which has no boxes or bullets: they leave as "[ ] ", "[x] " and "- ", and a
    // plain text's "[ ] " and "[x] " come in as boxes. False when the control reported an error or the text could not be held:
    // what came out is then incomplete.
    bool StreamOutText(std::string& text, bool asRtf);
    // The text as characters, its list marks written as plain text does.
    bool StreamOutPlain(std::wstring& text);
    // Replaces the whole content. False when the control did not take the whole text
    // (an error, or no more room: a text that fills it to its limit may have been cut).
    bool StreamInText(std::string_view text, bool asRtf);
    // Plain text as characters: the marks of lists become boxes and bullets again.
    bool StreamInPlain(const std::wstring& plain);
    // True while a text is being streamed in: the control's complaints meanwhile are
    // answered by whoever streams.
    bool InStream() const { return !m_streamIn.empty(); }
    // How the text stands to the control's limit. Windows stops typing, pasting and
    // streaming at the limit; Wine's control grows its limit to take a paste or a
    // stream, so a text can be over it there.
    enum class Room { Left, Full, Over };
    Room TextRoom() const;
    std::string GetSelectedText() const;
    // Check lists and bullets: the menu's commands turn the selected paragraphs into
    // items of the kind (Open for boxes), or back when they all are; the toggle key ticks
    // the box of the caret's paragraph, or makes it an item.
    void ToggleList(ListMark kind);
    void ToggleItemAtCaret();
    // Gives every mark its font, a done item its stroke and an item its indent (after a
    // text came in from a file).
    void DressAllMarks();
    bool IsReadOnly() const;
    // Puts the clipboard's text in place of the selection in the format at the caret,
    // without the fonts, colours or pictures it came with. Nothing in a read-only text.
    void PastePlainText();

    // Replace the whole text from a file, or write it to one: RTF when the name ends in
    // ".rtf" in any case, plain text otherwise. Only a file read whole replaces the
    // text; an export goes beside the file and then takes its place, so a failed write
    // leaves the old file. False when nothing was imported or written.
    // A file whose text the note cannot hold is refused with a message, and the note
    // keeps its text.
    bool ImportFile(const std::wstring& path);
    // A text file is written in the program's code page, or as UTF-8 with its mark.
    bool ExportFile(const std::wstring& path, bool asUtf8 = false);
    // The same, with the file chosen in the file dialogs. Export appends ".rtf" or
    // ".txt" by the filter chosen unless the name already ends in it, and never replaces
    // a file without asking.
    void ImportWithDialog();
    void ExportWithDialog();

    // Hands a message to the user's mail program (Simple MAPI); its compose window
    // opens. Any argument may be absent.
    void SendMail(const char* address, const char* subject, const char* body);
    // The same with the texts as characters, which the wide form of the mail library
    // carries whole; the narrow form gets what the system's code page holds of them.
    void SendMail(const char* address, const std::optional<std::wstring>& subject,
                  const std::optional<std::wstring>& body);

    static void SetLinkOpener(LinkOpener opener);

    // Seams for tests: the file dialogs and the loading of the mail library.
    using FileDialogFunction = bool (*)(bool open, HWND owner, const char* filter, DWORD flags,
                                        std::wstring& path, DWORD& filterIndex);
    using LibraryLoader = HMODULE (*)(const char* name);
    static void SetFileDialogFunction(FileDialogFunction function);
    static void SetMailLibraryLoader(LibraryLoader loader);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    void ApplyDefaultFont(Scope scope);
    void OnLink(const ENLINK& link);
    void OnDropFiles(const ENDROPFILES& drop);
    // What typing does in a list: a space after "[]" or "-" makes a mark, Enter goes on
    // with the list, Backspace takes a box away, a click on a box ticks it. True when
    // the message was taken.
    bool OnListChar(WPARAM ch);
    bool OnListKey(WPARAM key);
    bool OnListClick(LPARAM lParam);
    LONG CharCount() const;
    std::wstring TextRange(LONG from, LONG to) const;
    CHARRANGE Selection() const;
    void Select(LONG from, LONG to);
    LONG ParagraphStart(LONG at) const;
    // Where the paragraph's "\r" is, or the end of the text.
    LONG ParagraphEnd(LONG at) const;
    ListMark MarkAt(LONG paragraphStart) const;
    void SetMark(LONG paragraphStart, ListMark mark);
    void DressMark(LONG paragraphStart, ListMark mark);
    void FormatRange(LONG from, LONG to, const CHARFORMAT2W& format);

    bool StreamOut(std::string& bytes, WPARAM format);
    bool StreamIn(std::string_view bytes, WPARAM format);
    static DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
    static DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);

    // The limit the control was given (EM_EXLIMITTEXT).
    LPARAM m_limit = kTextLimit;
    // The background last given, or CLR_INVALID for the control's own.
    COLORREF m_background = CLR_INVALID;
    // A key was done with here (a zoom, a list's Enter); the character it types is not text.
    bool m_keyTaken = false;
    // Set once the user was told the note is full, until the text is shorter again.
    bool m_toldFull = false;
    LRESULT TextLength() const;
    bool IsUsersChange() const;
    void OnTextChanged();
    void OnTextFull();

    // Meaningful only during a stream operation.
    std::size_t m_streamPos = 0;
    std::string* m_streamOut = nullptr;
    bool m_streamFailed = false;
    std::string_view m_streamIn;
};
