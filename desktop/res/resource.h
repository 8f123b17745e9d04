// Resource and control identifiers of the desktop program Encoder: the one place of them,
// read by the resource script, the windows, the desktop core's keyboard texts and the tests.
// Plain defines only, so that windres can read it.
#pragma once

#define IDD_ENCODER_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_OPTIONS 130
#define IDD_KEYBOARD 131
#define IDR_TRAYMENU 132
#define IDI_OPTIONS 133
#define IDD_ABOUTBOX 134
#define IDB_SKIN 139
#define IDD_SEQUENCE 140
#define IDD_COLHEAD 141
#define IDB_COLUMN_PICTURES 142
#define IDD_BATCH_PROGRESS 143

// The maker's web page: the string resource printed under the name, and the address itself.
#define IDS_WEB_ADDRESS 102
#define KESTRIVO_WEB_ADDRESS "https://www.kestrivo.example/"

// Main window.
#define IDC_DATA 1000
#define IDC_MESSAGE_LINE 1032
#define IDC_TOOL_FIRST 600  // the tool buttons, in this order
#define IDC_TOOL_OPTIONS 600
#define IDC_TOOL_KEYBOARD 601
#define IDC_TOOL_COPY 602
#define IDC_TOOL_PRINT 603
#define IDC_TOOL_SEQUENCE 604
#define IDC_TOOL_CLOSE 605
#define IDC_TOOL_MINIMIZE 606
#define IDC_TOOL_REFRESH 607

// About box.
#define IDC_ABOUT_NAME 2022
#define IDC_ABOUT_NOTICE 2023
#define IDC_ABOUT_NOTICE2 2024
#define IDC_SUPPORT_LINK 2025
#define IDC_WEB_LINK 2026

// Progress window of long batch work.
#define IDC_PROGRESS_LINE 1001
#define IDC_PROGRESS_BAR 1002

// Tray menu commands.
#define ID_TRAY_MINIMIZE 32772
#define ID_TRAY_WEBSITE 32775
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

// Options pane.
#define IDC_SYMBOLOGY 1004
#define IDC_HUMAN_READABLE 1005
#define IDC_CHECKSUM 1006
#define IDC_DM_ENCODATION 1007
#define IDC_DM_FORMAT 1008
#define IDC_QR_ECLEVEL 1009
#define IDC_PDF_SECURITY 1010
#define IDC_PDF_COMPACTION 1011
#define IDC_AZTEC_FORMAT 1012
#define IDC_FACE 1014
#define IDC_POINT_SIZE 1015
#define IDC_ENCODATION_LABEL 1017
#define IDC_DM_FORMAT_LABEL 1018
#define IDC_QR_LABEL 1019
#define IDC_PDF_TRUNCATED 1020
#define IDC_PDF_ROWS_LABEL 1021
#define IDC_PDF_ROWS 1022
#define IDC_PDF_COLUMNS_LABEL 1023
#define IDC_PDF_COLUMNS 1024
#define IDC_PDF_LEVEL_LABEL 1025
#define IDC_PDF_COMPACTION_LABEL 1026
#define IDC_AZTEC_FORMAT_LABEL 1027
#define IDC_AZTEC_LEVEL_LABEL 1029
#define IDC_AZTEC_LEVEL 1030
#define IDC_IM_ID_LABEL 1031
#define IDC_IM_ID 1032
#define IDC_IM_ZIP_LABEL 1033
#define IDC_IM_SERVICE_LABEL 1034
#define IDC_IM_MAILER_LABEL 1035
#define IDC_IM_SERIAL_LABEL 1036
#define IDC_IM_SERVICE 1037
#define IDC_IM_MAILER 1038
#define IDC_IM_SERIAL 1039
#define IDC_IM_ZIP 1040
#define IDC_SYMBOLOGY_LABEL 3000
#define IDC_FACE_LABEL 3001
#define IDC_SIZE_LABEL 3002
#define IDC_MAXICODE_MODE 3003
#define IDC_MAXICODE_LABEL 3004
#define IDC_GS1 3005

// Character keyboard: a key for each control character 0 to 31 (IDC_KEY_NUL + the code),
// DEL and the function keys.
#define IDC_KEY_NUL 1016
#define IDC_KEY_SOH 1017
#define IDC_KEY_STX 1018
#define IDC_KEY_ETX 1019
#define IDC_KEY_EOT 1020
#define IDC_KEY_ENQ 1021
#define IDC_KEY_ACK 1022
#define IDC_KEY_BEL 1023
#define IDC_KEY_BS 1024
#define IDC_KEY_TAB 1025
#define IDC_KEY_LF 1026
#define IDC_KEY_VT 1027
#define IDC_KEY_FF 1028
#define IDC_KEY_CR 1029
#define IDC_KEY_SO 1030
#define IDC_KEY_SI 1031
#define IDC_KEY_DLE 1032
#define IDC_KEY_DC1 1033
#define IDC_KEY_DC2 1034
#define IDC_KEY_DC3 1035
#define IDC_KEY_DC4 1036
#define IDC_KEY_NAK 1037
#define IDC_KEY_SYN 1038
#define IDC_KEY_ETB 1039
#define IDC_KEY_CAN 1040
#define IDC_KEY_EM 1041
#define IDC_KEY_SUB 1042
#define IDC_KEY_ESC 1043
#define IDC_KEY_FS 1044
#define IDC_KEY_GS 1045
#define IDC_KEY_RS 1046
#define IDC_KEY_US 1047
#define IDC_KEY_DEL 1048
#define IDC_KEY_FNC2 1051
#define IDC_KEY_FNC3 1053
#define IDC_KEY_STOP 1055
#define IDC_KEY_SHIFT 1056
#define IDC_KEY_FNC1 1057
#define IDC_KEY_FNC4 1058
#define IDC_KEY_SHIFT2 1062

// Batch dialog.
#define IDC_SEQ_BATCH 1032
#define IDC_SEQ_RESET 1033
#define IDC_SEQ_START 1035
#define IDC_SEQ_END 1036
#define IDC_SEQ_INCREMENT 1037
#define IDC_SEQ_GENERATE 1038
#define IDC_SEQ_IMPORT 1039
#define IDC_SEQ_EXPORT 1040
#define IDC_SEQ_PREFIX 1041
#define IDC_SEQ_SUFFIX 1042

// Column chooser.
#define IDC_COLUMN_LIST 1041
