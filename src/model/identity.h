#pragma once
// What was tested: the project, the borehole or pit, the sample and each specimen, as a series
// file names them. A fixed-column data file carries none of it; then every field is empty and
// the exports that need keys derive them from the data file's name and the test numbers. Texts
// are UTF-8 as typed; an empty text or an absent number means "not given".
#include <optional>
#include <string>
#include <vector>

namespace ostrevik {

struct ProjectIdentity {
  std::string id;          // project reference, as the client's contract names it
  std::string name;        // project title
  std::string location;    // site, town or region
  std::string client;      // for whom the investigation is done
  std::string contractor;  // who carried out the investigation
  std::string engineer;    // the client's engineer or consultant
};

struct LocationIdentity {
  std::string id;                      // borehole or trial pit reference (BH-8, TP3)
  std::string type;                    // kind of hole: borehole, trial pit, ...
  std::optional<double> ground_level;  // ground level at the hole, m
  std::optional<double> easting;       // national grid easting, m
  std::optional<double> northing;      // national grid northing, m
};

struct SampleIdentity {
  std::string ref;             // sample reference as labelled in the field
  std::string type;            // sample type: U (undisturbed), B (bulk), ...
  std::string id;              // laboratory's unique sample id
  std::optional<double> top;   // depth to the top of the sample, m
  std::optional<double> base;  // depth to the base of the sample, m
  std::string description;     // soil description of the sample
};

// One specimen: one test of the series, in the order of the tests.
struct SpecimenIdentity {
  std::string ref;                      // specimen reference
  std::optional<double> depth;          // depth to the top of the specimen, m
  std::string description;              // description of the specimen
  std::string preparation;              // undisturbed, remoulded, compacted to ...
  std::string test_date;                // date of the test, ISO 8601 (2026-03-14)
  std::optional<double> shearing_rate;  // rate of displacement, mm/min
};

struct Identity {
  ProjectIdentity project;
  LocationIdentity location;
  SampleIdentity sample;
  std::string laboratory;                   // laboratory that did the tests
  std::string method;                       // standard or method followed
  std::string operated_by;                  // who ran the tests
  std::string checked_by;                   // who checked the results
  std::vector<SpecimenIdentity> specimens;  // specimen k of test k + 1; may be shorter

  // Whether a series file gave anything at all.
  bool given() const {
    return !project.id.empty() || !location.id.empty() || !sample.ref.empty() ||
           !sample.id.empty() || !specimens.empty();
  }
};

}  // namespace ostrevik
