// The settings sheet's Times page:
//   CSettingsPage  every break setting in one property list, edited in the
//                  rows and written back into g_breakSettings on Apply
#pragma once
#include "vfx.h"
#include "controls/PropertyList.h"
#include "engine/BreakSettings.h"
#include "ui/SettingsSheet.h"

class CSettingsPage : public CPageWithHelp {
public:
    CSettingsPage();
    ~CSettingsPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void OnPropertyChanged(NMHDR* pNotify, LRESULT* pResult);
    // Refuses (*pResult = 1, one beep) an open editor's text that its row
    // would store out of range.
    void OnValidateProperty(NMHDR* pNotify, LRESULT* pResult);
    // Greys or enables the rows of a group by its "Enabled?" row.
    void EnableCategory(int categoryId);
    // "Enable unlocking" after an alert-type row is editable only with a
    // screen lock.
    void UpdateUnlockingItem(int alertTypeId);

    // The row's value into the field; FALSE, the field untouched, when the
    // row is missing, unreadable or holds another kind of value.
    BOOL GetBoolValue(int id, bool& field);
    BOOL GetIntValue(int id, int& field);
    BOOL GetPropertyText(int id, CString& field);

    CPropertyList m_list;
    DECLARE_MESSAGE_MAP()

private:
    // The row's value as a VARIANT of type vt; FALSE otherwise.
    BOOL ReadRow(int id, VARTYPE vt, VARIANT* pValue);
    // A short or long break's rows from its "Once every" row on: interval,
    // duration in minutes, alert type, unlocking, message.
    void ReadBreakRows(int firstId, BreakKind kind);
    // A message row's text into the record, unless it is still the text
    // the row showed for the record's message: that may be its translation,
    // and the record keeps the English text it stands for.
    void ReadMessageRow(int id, BreakKind kind);
    // Each kind's message as its row last showed it for the record.
    CString m_strShownMessage[BREAK_DAILY_LIMIT + 1];
    // Adds a built row; a row the list refuses is deleted here.
    void AddRow(IProperty* pItem);
};

// Whether an editor's text is in range for the row id: 1 to 1000 for the
// number rows, a time from 0:01 to 24:00 for the daily limit, anything for
// the others. Read as the row's own commit reads it.
BOOL IsTimesTextAccepted(int id, const char* pszText);
