#include <string>

#include "locale/LocaleTable.h"
#include "platform/FormatText.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"
#include "viewer/MainDialog.h"

int MainDialog::FindName(const std::vector<std::string>& list, const std::string& text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int MainDialog::FindItemByData(const ComboBox& combo, int index) {
    int count = combo.GetCount();
    for (int position = 0; position < count; ++position) {
        if (combo.GetItemData(position) == static_cast<LPARAM>(index)) {
            return position;
        }
    }
    return -1;
}

void MainDialog::FillCodeSetList() {
    // The box sorts its lines, so each line carries the index of its code set.
    for (std::size_t i = 0; i < codeSetDisplayNames.size(); ++i) {
        int position = codeSetCombo.AddString(codeSetDisplayNames[i]);
        if (position >= 0) {
            codeSetCombo.SetItemData(position, static_cast<LPARAM>(i));
        }
    }
    codeSetCombo.SetCurSel(0);
    int index = FindName(codeSetFileNames, currentCodeSetName);
    if (index != -1) {
        int position = FindItemByData(codeSetCombo, index);
        if (position != -1) {
            codeSetCombo.SetCurSel(position);
        }
    }
    CodeSetSelected();
}

void MainDialog::CodeSetSelected() {
    int position = codeSetCombo.GetCurSel();
    if (position < 0) {
        return;
    }
    LPARAM index = codeSetCombo.GetItemData(position);
    if (index < 0 || static_cast<std::size_t>(index) >= codeSetFileNames.size()) {
        return;
    }
    currentCodeSetName = codeSetFileNames[static_cast<std::size_t>(index)];
}

void MainDialog::SelectCodeSetForLocale() {
    if (!codeSetFollowsLocale) {
        return;
    }
    const char* name = localeCombo.GetSelectedCodeSetName();
    if (name == nullptr) {
        Message(Text(IDS_NO_CODESET_FOR_LOCALE));
        return;
    }
    currentCodeSetName = name;
    int index = FindName(codeSetFileNames, currentCodeSetName);
    if (index == -1) {
        // No such file: the next conversion reports that it can't load the code set.
        return;
    }
    int position = FindItemByData(codeSetCombo, index);
    if (position != -1) {
        codeSetCombo.SetCurSel(position);
    } else {
        codeSetCombo.SetCurSel(0);
        Message(FormatText(Text(IDS_CODESET_NOT_FOUND).c_str(), currentCodeSetName.c_str()));
    }
}

std::uint16_t MainDialog::SelectedLocaleLanguage() {
    // -1 (no locale selected) reads as 0xFFFF in 16 bits.
    auto language = static_cast<std::uint16_t>(localeCombo.GetSelectedLanguageId());
    return language == 0xFFFF ? SystemLanguageId() : language;
}

void MainDialog::LocaleSelected() {
    selectedLanguageId = SelectedLocaleLanguage();
    if (codeSetFollowsLocale) {
        SelectCodeSetForLocale();
    }
}

void MainDialog::ApplyClipboardLocale() {
    if (useClipboardLocale) {
        const char* code = localeTable.FindCodeByLanguageId(clipboardLanguageId);
        if (code == nullptr) {
            // Once per clipboard language, and never over another box: a user copying
            // repeatedly would get a stack of them.
            if (unsupportedLanguageTold != clipboardLanguageId && !prompts.AnyShown()) {
                unsupportedLanguageTold = clipboardLanguageId;
                Message(Text(IDS_LOCALE_NOT_SUPPORTED));
            }
            return;
        }
        unsupportedLanguageTold = -1;
        selectedLocaleCode = code;
        localeCombo.SelectLocale(selectedLocaleCode.c_str(), 0);
        selectedLanguageId = SelectedLocaleLanguage();
    }
    if (codeSetFollowsLocale) {
        SelectCodeSetForLocale();
    }
}

void MainDialog::CodeSetFollowsLocaleClicked() {
    codeSetFollowsLocale = codeSetFollowsLocaleCheck.IsChecked();
    if (codeSetFollowsLocale) {
        SelectCodeSetForLocale();
    }
}

void MainDialog::UseClipboardLocaleClicked() {
    useClipboardLocale = useClipboardLocaleCheck.IsChecked();
    // New rules: an unsupported clipboard language is told again.
    unsupportedLanguageTold = -1;
    ApplyClipboardLocale();
}
