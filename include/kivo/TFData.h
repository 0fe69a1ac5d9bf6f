// The host's record of one teaching-file entry, read and written by tag name.
//
// Besides the entry's own tags, a host may give the record two tags that the
// component only reads:
//
//   KIVO_ENTRY_TITLE  free text naming the entry for the user, e.g.
//                     "DOE^JOHN · CT CHEST · 2026-12-01". The window's
//                     title reads the form's caption followed by it, and the
//                     close question and the draft question name it. Without
//                     it the title is the caption alone.
//   KIVO_ENTRY_KEY    any non-empty text that identifies the entry for good
//                     (an accession number, a study instance UID). With it the
//                     component keeps a draft of what the user types, on the
//                     workstation, a moment after each edit; when the same key
//                     is shown again to the same login after the host died
//                     mid-entry, it offers the draft back. The draft is
//                     deleted when the entry ends cleanly: SubmitCompleted
//                     with status 0, HandleBeforeDone that asked and was
//                     answered or was told to skip the question, and
//                     CloseSession after one of those. Without the key no
//                     draft is written and nothing is asked.
//
// A record that refuses either tag in GetValue is taken not to have it.
#pragma once

#include "runtime.h"

// {bf0dacf4-2bf5-450f-9beb-b60e103a96c4}
inline constexpr IID IID_TFData = {0xbf0dacf4, 0x2bf5, 0x450f,
                                   {0x9b, 0xeb, 0xb6, 0x0e, 0x10, 0x3a, 0x96, 0xc4}};

struct TFData : IUnknown
{
    // The stored value, or an empty string when the tag holds none.
    virtual HRESULT GetValue(BSTR tag, BSTR *value) = 0;
    virtual HRESULT SetValue(BSTR tag, BSTR value) = 0;

protected:
    ~TFData() = default;
};
