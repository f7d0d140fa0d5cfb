#include "driver/series_commands.h"

namespace ostrevik::driver {
namespace {

// The series file up to the name of the third test's readings file, and after it.
constexpr const char* kBeforeCsvName =
    R"toml(# A series of three shear tests, a starting point for your own. Every key in capitals is a
# field of the fixed-column records under its name in docs/data-file.md; a key left out is a
# blank field (0, which brings in the default where there is one). The tables in lower case
# say what was tested; every one of them may be left out. docs/series-file.md describes each
# key. Evaluate the series with: ostrevik NAME.toml

[project]
id = "P-2026-014"  # project reference
name = "Köprü yaklaşım dolgusu"  # project title
location = "Ankara"  # site, town or region
client = ""  # for whom the investigation is done
contractor = ""  # who carried out the investigation
engineer = ""  # the client's engineer or consultant

[location]
id = "K-4"  # borehole or trial pit reference
type = "borehole"  # kind of hole
ground_level = 912.4  # ground level at the hole, m

[sample]
ref = "U-3"  # sample reference as labelled in the field
type = "U"  # U undisturbed, B bulk, ...
top = 6.0  # depth to the top of the sample, m
base = 6.5  # depth to the base of the sample, m
description = "Kahverengi siltli kil"  # soil description of the sample

[laboratory]
name = ""  # laboratory that did the tests
method = ""  # standard or method followed
operator = ""  # who ran the tests
checked_by = ""  # who checked the results
[flags]  # record 1
PDATCH = 0  # > 0: the readings are only checked
PAROUT = 7  # tables of each test
PARREG = 5  # strength analysis at the end of the input
TYPFRA = 0  # frame type 0, 1 or 2
PARLAT = 1  # > 0: record 4 follows
POISNR = 0  # Poisson's ratio of the soil (0: not given)

[frame]  # records 2 and 3
WLP1 = 1.275  # mass of loading part 1, kg
WLP2 = 1.119  # mass of loading part 2, kg
WBC = 0.108  # mass added to every vertical load, kg
DIASTB = 1.2  # length from the working height to the load line, cm (≤ 0: not given)
FRCOEF = 0.0039  # friction coefficient on the net vertical load
TLP1MN = 2.52  # length of loading part 1, cm
GRINL = 0  # load-gauge reading without load (0: the gauge reads up), divisions
GRSLO = 0.3402  # load per load-gauge division, kg
DVPR = 0  # loss of working height per load-gauge division, cm (≤ 0: not given)
WPR = 2.841  # frame mass, kg
WHJ = 0.789  # frame mass, kg
H2 = 16.04  # working height of the frame, cm
WDM = 0.448  # frame mass, kg
TMOMDM = 0.26  # moment added to the balance of the moving assembly, kg·cm
CONDX = 0.001  # horizontal displacement gauge, cm per division (0: not given)
CONDY = 0.001  # vertical displacement gauge, cm per division (0: not given)
CONYMP = 0.001  # top-cap gauge, cm per division (0: not given)
CONRPB = 0  # piston gauge, cm per division (0: not given)

[lateral]  # record 4
DCLPSB = 89.2  # horizontal distance of the spring balances' fixed point, cm
HTFPSB = 43.6  # height of the spring balances' fixed point, cm
HTFSB = 6.8  # height entering the height of the lateral load, cm
LYOK = 30.2  # length of the lateral-load yoke, cm
WYK = 0.9  # mass of the yoke, kg
ASPBL1 = 0  # spring balance 1: load at reading 0, kg
DSPBL1 = 1.027  # spring balance 1: load per division, kg
ASPBL2 = 0  # spring balance 2: load at reading 0, kg
DSPBL2 = 1.0176  # spring balance 2: load per division, kg

[[test]]
titles = [  # the three title lines of the report, at most 80 characters each
  "EĞİK DÜZLEMDE KESME DENEYİ NO. 1  -  KAHVERENGİ SİLTLİ KİL",
  "KUYU K-4, DERİNLİK 6.00-6.50 m",
  "ÖRSELENMİŞ, SIKIŞTIRILMIŞ ÖRNEK",
]

[test.specimen]  # records 5 and 6, and what the specimen was
ref = "U-3/1"  # specimen reference
depth = 6.00  # depth to the top of the specimen, m
test_date = 2026-03-10  # date of the test
shearing_rate = 0.5  # rate of displacement, mm/min
# RNREAD (the number of readings) is counted from the readings; PFIXDR follows from
# [test.mould] (record 7) and from a next test that brings its own [test.frame].
ALFN = 40  # mould angle, degrees
DIAIN = 10.1  # inner diameter of the mould = specimen diameter, cm
ANGSEL = 0  # angle that chooses the standard mould set, degrees
APPSEL = 1  # 1 or 2: chooses between the two 30-degree sets
WSPPTM = 5.669  # mass of the specimen in its mould with the disc, kg
HEMPTY = 3.05  # empty height of the mould above the specimen, cm
HDISC = 1.5  # thickness of the wooden disc, cm
D1 = 2.17  # dimension D1 of the loading parts, cm
D2 = 1.22  # dimension D2 of the loading parts, cm
D3 = 5.9  # dimension D3 of the loading parts, cm
CLRNCE = 0.31  # clearance between the mould halves, cm
VPI = 0.22  # penetration of the piston at the start, cm
DH = 0.15  # shift of the plane from the mould joint, cm
DH2 = 0  # > 0: shift at the trailing end of the soil wedge, cm
PARFPL = 0  # shear-plane geometry
PSPBDL = 0  # 1: both spring balances are read

[test.readings]  # the readings: the columns named, then one row per reading
columns = ["TIMHR", "TIMMN", "DXABS", "DY1ABS", "DTMLP2", "DRPB", "GRREAD", "SPBRD1", "HTFYKS", "DECLYK"]
rows = [
  [12, 51, 401, 741, 388, 848, 12.5, 0, 0, 0],
  [0, 55, 423, 757.5, 433.5, 846.5, 57.5, 0, 0, 0],
  [0, 58, 438.5, 771, 465.5, 845.5, 86, 0, 0, 0],
  [13, 2, 458.5, 790, 506, 844, 118, 0, 0, 0],
  [0, 5, 472.5, 805, 534, 843.5, 137, 0, 0, 0],
  [0, 9, 491, 826, 570, 842.5, 157.5, 0, 0, 0],
  [0, 16, 522.5, 863.5, 627.5, 841, 176, 0, 0, 0],
  [0, 23, 553, 902, 680.5, 840, 177.5, 0, 0, 0],
  [0, 29, 579, 935.5, 722.5, 839, 166, 0, 0, 0],
  [0, 34, 600.5, 963, 755.5, 838.5, 159.5, 0, 0, 0],
  [0, 41, 631.5, 1001, 799, 838, 151, 0, 0, 0],
  [0, 47, 658.5, 1033, 835, 837.5, 146.5, 0, 0, 0],
  [0, 57, 704.5, 1085.5, 891, 837, 139, 0, 0, 0],
  [14, 7, 751, 1136.5, 944.5, 836.5, 134, 0, 0, 0],
  [0, 19, 809, 1196, 1005, 836.5, 130, 0, 0, 0],
  [0, 29, 858, 1244, 1053.5, 836, 127, 0, 0, 0],
  [0, 39, 908, 1291.5, 1101, 836, 125.5, 0, 0, 0],
  [0, 51, 969, 1347, 1156.5, 836, 124, 0, 0, 0],
]

[[test]]
titles = [  # the three title lines of the report, at most 80 characters each
  "EĞİK DÜZLEMDE KESME DENEYİ NO. 2  -  KIRMIZIMSI KUMLU KİL",
  "ARAŞTIRMA ÇUKURU AÇ-5  2.00-2.50 m",
  "ÖRSELENMİŞ, SIKIŞTIRILMIŞ ÖRNEK",
]

[test.specimen]  # records 5 and 6, and what the specimen was
ref = "U-3/2"  # specimen reference
depth = 6.15  # depth to the top of the specimen, m
test_date = 2026-03-11  # date of the test
shearing_rate = 0.5  # rate of displacement, mm/min
# RNREAD (the number of readings) is counted from the readings; PFIXDR follows from
# [test.mould] (record 7) and from a next test that brings its own [test.frame].
ALFN = 40  # mould angle, degrees
DIAIN = 10.1  # inner diameter of the mould = specimen diameter, cm
ANGSEL = 0  # angle that chooses the standard mould set, degrees
APPSEL = 1  # 1 or 2: chooses between the two 30-degree sets
WSPPTM = 5.773  # mass of the specimen in its mould with the disc, kg
HEMPTY = 3.88  # empty height of the mould above the specimen, cm
HDISC = 1  # thickness of the wooden disc, cm
D1 = 3.28  # dimension D1 of the loading parts, cm
D2 = 1.25  # dimension D2 of the loading parts, cm
D3 = 3.41  # dimension D3 of the loading parts, cm
CLRNCE = 0.13  # clearance between the mould halves, cm
VPI = 0.21  # penetration of the piston at the start, cm
DH = -0.1  # shift of the plane from the mould joint, cm
DH2 = 0.45  # > 0: shift at the trailing end of the soil wedge, cm
PARFPL = 0  # shear-plane geometry
PSPBDL = 0  # 1: both spring balances are read

[test.readings]  # the readings: the columns named, then one row per reading
columns = ["TIMHR", "TIMMN", "DXABS", "DY1ABS", "DTMLP2", "DRPB", "GRREAD", "SPBRD1", "HTFYKS", "DECLYK", "SPBRD2"]
rows = [
  [11, 20, 478, 226, 575, 798, 57, 17, 39.11, 1.15, 16.5],
  [0, 22, 502, 241, 562, 797, 146, 17, 39.11, 1.15, 17.2],
  [0, 24, 525, 257, 553, 796, 224, 17, 39.11, 1.15, 16.8],
  [0, 26, 548, 275, 548, 795, 291, 17, 39.11, 1.15, 16.9],
  [0, 28, 570, 292, 547, 794, 347, 17, 39.11, 1.15, 16.6],
  [0, 30, 592, 310, 549, 794, 392, 16.9, 39.11, 1.15, 17.2],
  [0, 34, 634, 348, 561, 793, 456, 16.9, 39.11, 1.15, 17.1],
  [0, 38, 675, 387, 580, 792, 484, 16.9, 39.11, 1.15, 17.4],
  [0, 42, 716, 426, 604, 791, 475, 16.8, 39.11, 1.15, 17.2],
  [0, 46, 757, 465, 633, 790, 459, 16.8, 39.11, 1.15, 17],
  [0, 49, 788, 495, 656, 790, 444, 16.8, 39.11, 1.15, 16.4],
  [0, 53, 829, 534, 689, 789, 428, 16.7, 39.11, 1.15, 16.2],
  [0, 57, 869, 573, 723, 789, 417, 16.7, 39.11, 1.15, 16.9],
  [12, 1, 911, 612, 758, 789, 407, 16.7, 39.11, 1.15, 16.6],
  [0, 8, 983, 680, 822, 788, 395, 16.6, 39.11, 1.15, 16.2],
  [0, 16, 1066, 756, 896, 788, 387, 16.5, 39.11, 1.15, 16.8],
  [0, 23, 1140, 822, 961, 788, 382, 16.4, 39.11, 1.15, 16],
  [0, 30, 1214, 888, 1026, 788, 373, 16.4, 39.11, 1.15, 16.6],
  [0, 36, 1278, 944, 1082, 787, 370, 16.3, 39.11, 1.15, 16.5],
  [0, 43, 1353, 1009, 1147, 787, 368, 16.3, 39.11, 1.15, 15.9],
]

[[test]]
titles = [  # the three title lines of the report, at most 80 characters each
  "EĞİK DÜZLEMDE KESME DENEYİ NO. 3  -  AÇIK KAHVE KİLLİ SİLT",
  "KUYU K-2, DERİNLİK 2.50-3.00 m",
  "ÖRSELENMİŞ, SIKIŞTIRILMIŞ ÖRNEK",
]
# The readings of this test in a CSV file beside this one; its header row names the columns.
readings = ")toml";
constexpr const char* kAfterCsvName = R"toml("

[test.specimen]  # records 5 and 6, and what the specimen was
ref = "U-3/3"  # specimen reference
depth = 6.30  # depth to the top of the specimen, m
test_date = 2026-03-12  # date of the test
shearing_rate = 0.5  # rate of displacement, mm/min
# RNREAD (the number of readings) is counted from the readings; PFIXDR follows from
# [test.mould] (record 7) and from a next test that brings its own [test.frame].
ALFN = 40  # mould angle, degrees
DIAIN = 10.1  # inner diameter of the mould = specimen diameter, cm
ANGSEL = 0  # angle that chooses the standard mould set, degrees
APPSEL = 1  # 1 or 2: chooses between the two 30-degree sets
WSPPTM = 6.002  # mass of the specimen in its mould with the disc, kg
HEMPTY = 4.09  # empty height of the mould above the specimen, cm
HDISC = 1  # thickness of the wooden disc, cm
D1 = 1.59  # dimension D1 of the loading parts, cm
D2 = 1.84  # dimension D2 of the loading parts, cm
D3 = 2.01  # dimension D3 of the loading parts, cm
CLRNCE = 0.21  # clearance between the mould halves, cm
VPI = 0.14  # penetration of the piston at the start, cm
DH = 0.3  # shift of the plane from the mould joint, cm
DH2 = 0  # > 0: shift at the trailing end of the soil wedge, cm
PARFPL = 0  # shear-plane geometry
PSPBDL = 0  # 1: both spring balances are read
)toml";

// The readings of the third test, as a spreadsheet would save them (lines end in CR LF).
constexpr const char* kThirdReadings =
    R"csv(TIMHR,TIMMN,DXABS,DY1ABS,DTMLP2,DRPB,GRREAD,SPBRD1,HTFYKS,DECLYK,SPBRD2
14,50,565,726,155,882,83,34.1,38.16,0.55,34.1
0,52,590.5,737,146,881.5,253,34.1,38.16,0.55,34.2
0,54,613.5,750.5,142,881,395.5,34.1,38.16,0.55,33.5
0,55,624.5,758,142,880.5,458,34.1,38.16,0.55,34.2
0,56,635.5,766,143,880.5,515.5,34,38.16,0.55,33.8
0,58,656,782.5,147.5,880,613,34,38.16,0.55,34.9
15,0,675.5,800.5,155,880,684.5,34,38.16,0.55,34.3
0,3,703.5,829,171,879.5,760,34,38.16,0.55,34.1
0,6,731,858.5,190.5,879,781.5,34,38.16,0.55,34.1
0,9,757.5,888.5,213,878.5,768.5,34,38.16,0.55,34.4
0,12,784,919,238,878.5,729.5,34,38.16,0.55,34
0,15,810.5,949.5,264,878,715,33.9,38.16,0.55,34.2
0,18,836.5,980,291,878,686,33.9,38.16,0.55,34.4
0,21,863.5,1010.5,318.5,878,672.5,33.9,38.16,0.55,34.6
0,24,890,1040.5,346,877.5,648,33.9,38.16,0.55,33
0,30,944.5,1099.5,402.5,877.5,628,33.9,38.16,0.55,34.9
0,35,990.5,1147.5,449,877.5,609,33.8,38.16,0.55,34.3
0,41,1047,1204,505,877.5,597,33.8,38.16,0.55,33.9
0,47,1104.5,1259.5,560,877,589,33.8,38.16,0.55,33.5
0,52,1153,1305,605.5,877,580,33.7,38.16,0.55,33.8
0,57,1202,1350,650.5,877,583,33.7,38.16,0.55,33.9
16,2,1251,1394.5,695,877,577.5,33.7,38.16,0.55,32.9
)csv";

}  // namespace

TemplateFiles template_files(const std::string& csv_name) {
  std::string csv;
  for (const char* c = kThirdReadings; *c != 0; ++c) {
    if (*c == '\n') csv += '\r';
    csv += *c;
  }
  return {kBeforeCsvName + csv_name + kAfterCsvName, csv};
}

}  // namespace ostrevik::driver
