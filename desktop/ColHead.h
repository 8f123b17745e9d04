// The column chooser "Column Header List" of the spreadsheet import, and the import itself:
// the first row of the workbook's first worksheet listed as columns, and the chosen column
// read into the batch text, one record per used row.
#pragma once
#include "framework.h"

class CSequence;

class CColHead : public CDialogEx {
public:
    explicit CColHead(CSequence* batch);
    ~CColHead() override;

    CSequence* m_pBatch;
};

// Lists the first row of the workbook at `path` in the batch dialog's chooser; 1 when it was filled.
int ImportExcel(const CString& path, CSequence& batch);

// Replaces the batch text with every used cell of the column `letters`; 1 when it was read.
int ReadExcelColumn(const CString& letters, CSequence& batch);
