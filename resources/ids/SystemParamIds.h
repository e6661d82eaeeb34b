// Control ids of the system parameter page (template 139). The mask check boxes do not
// follow the channel order; the channel tables below are the only rule.
#pragma once

namespace idc::sysparam {
// Identity, test interval, sensor range.
inline constexpr int kAddress = 1120;
inline constexpr int kBaud = 1119;
inline constexpr int kVersion = 1027;
inline constexpr int kReadInfo = 1149;
inline constexpr int kIrInterval = 1121;
inline constexpr int kReadIrInterval = 1147;
inline constexpr int kSetIrInterval = 1123;
inline constexpr int kSensorRange = 1122;
inline constexpr int kReadSensorRange = 1148;
inline constexpr int kSetSensorRange = 1124;
// Clock and sampling moment: year, month, day, hour, minute, second.
inline constexpr int kClock[] = {1028, 1029, 1030, 1031, 1032, 1033};
inline constexpr int kReadClock = 1136;
inline constexpr int kSetClock = 1125;
inline constexpr int kIrMoment[] = {1034, 1035, 1036, 1037, 1038, 1039};
inline constexpr int kReadIrMoment = 1137;
inline constexpr int kSetIrMoment = 1126;
// Alarm thresholds.
inline constexpr int kIrLimit = 1043;
inline constexpr int kReadIrLimit = 1141;
inline constexpr int kSetIrLimit = 1127;
inline constexpr int kCurrentLimit = 1044;
inline constexpr int kReadCurrentLimit = 1142;
inline constexpr int kSetCurrentLimit = 1128;
inline constexpr int kTempUpper = 1041;
inline constexpr int kTempLower = 1042;
inline constexpr int kReadTempLimits = 1139;
inline constexpr int kSetTempLimits = 1129;
inline constexpr int kVoltUpper = 1045;
inline constexpr int kVoltLower = 1046;
inline constexpr int kReadVoltLimits = 1140;
inline constexpr int kSetVoltLimits = 1134;
// Relay enables and alarm status, bit 0 first (temperature upper ... total current upper).
inline constexpr int kRelayBits[] = {1005, 1006, 1007, 1008, 1009, 1040};
inline constexpr int kReadRelay = 1138;
inline constexpr int kSetRelay = 1130;
inline constexpr int kStatusBits[] = {1118, 1117, 1116, 1115, 1114, 1113};
inline constexpr int kReadStatus = 1143;
inline constexpr int kSetStatus = 1135;  // created hidden, never shown
inline constexpr int kHiddenSet = 1047;  // created hidden, does nothing
// Alarm channel masks: the check box of channel n is entry n - 1.
inline constexpr int kVoltMask[40] = {1010, 1011, 1012, 1013, 1014, 1048, 1016, 1017, 1018, 1069,
                                      1021, 1022, 1023, 1024, 1025, 1050, 1051, 1052, 1053, 1070,
                                      1019, 1020, 1049, 1054, 1055, 1056, 1057, 1058, 1059, 1071,
                                      1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1072};
inline constexpr int kIrMask[40] = {1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081, 1109,
                                    1091, 1092, 1093, 1094, 1095, 1096, 1097, 1098, 1099, 1111,
                                    1082, 1083, 1084, 1085, 1086, 1087, 1088, 1089, 1090, 1110,
                                    1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107, 1108, 1112};
inline constexpr int kTempMask[40] = {1153, 1154, 1155, 1156, 1157, 1158, 1159, 1160, 1161, 1189,
                                      1171, 1172, 1173, 1174, 1175, 1176, 1177, 1178, 1179, 1191,
                                      1162, 1163, 1164, 1165, 1166, 1167, 1168, 1169, 1170, 1190,
                                      1180, 1181, 1182, 1183, 1184, 1185, 1186, 1187, 1188, 1192};
inline constexpr int kVoltSelectAll = 1151;
inline constexpr int kVoltSelectNone = 1152;
inline constexpr int kReadVoltMask = 1144;
inline constexpr int kSetVoltMask = 1131;
inline constexpr int kIrSelectAll = 1193;
inline constexpr int kIrSelectNone = 1194;
inline constexpr int kReadIrMask = 1145;
inline constexpr int kSetIrMask = 1132;
inline constexpr int kTempSelectAll = 1195;
inline constexpr int kTempSelectNone = 1196;
inline constexpr int kReadTempMask = 1146;
inline constexpr int kSetTempMask = 1133;
// Factory mode.
inline constexpr int kFactoryMode = 1197;
inline constexpr int kReadDischarge = 1198;
inline constexpr int kSetDischarge = 1199;
inline constexpr int kDischargeBox = 1200;
inline constexpr int kCalibType = 1201;
inline constexpr int kCalibRange = 1202;
inline constexpr int kCalibrate = 1203;
inline constexpr int kDischargeLabel = 1205;
inline constexpr int kDischarge = 1206;
inline constexpr int kCalibBox = 1207;
inline constexpr int kCalibLabel = 1208;
inline constexpr int kCalibTypeLabel = 1209;
inline constexpr int kCalibRangeLabel = 1210;
inline constexpr int kDischargeUnit = 1211;
// What factory mode shows and user mode hides.
inline constexpr int kFactoryControls[] = {
    kReadDischarge,   kCalibrate,      kSetDischarge, kDischargeLabel, kCalibBox,
    kCalibRangeLabel, kCalibTypeLabel, kCalibLabel,   kDischargeBox,   kCalibType,
    kCalibRange,      kDischarge,      kDischargeUnit};
}  // namespace idc::sysparam

namespace idc::password {
inline constexpr int kPassword = 1204;
}  // namespace idc::password
