#include "driver/options.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace ostrevik::driver {
namespace {

// One option of the command line; the table of them serves the parser and the help text alike.
struct OptionSpec {
  char short_name;             // the letter after "-"; 0 for a long form only
  std::string_view long_name;  // the name after "--"
  std::string_view value;      // the name of its value in the help text; empty for a switch
  std::string_view help;       // what it does, for the help text
  void (*apply)(Options& options, std::string_view value);  // throws UsageError on a bad value
};

// The pieces of a message, one after the other.
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (const std::string_view piece : pieces) text += piece;
  return text;
}

void set_encoding(Options& options, std::string_view value) {
  std::string name(value);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (name == "cp857") {
    options.encoding = ReportEncoding::Cp857;
  } else if (name == "utf-8" || name == "utf8") {
    options.encoding = ReportEncoding::Utf8;
  } else {
    throw UsageError(joined({"unknown report encoding '", value, "' (cp857 or utf-8)"}));
  }
}

constexpr OptionSpec kOptions[] = {
    {'o', "output", "FILE", "the report of the one data file (default: DATA with .OUT)",
     [](Options& o, std::string_view v) { o.report_file = v; }},
    {'f', "force", "", "replace an existing report and its exports once all are complete",
     [](Options& o, std::string_view) { o.force = true; }},
    {'q', "quiet", "", "no summary line and no notes after each data file",
     [](Options& o, std::string_view) { o.quiet = true; }},
    {0, "csv", "", "also write NAME.readings.csv, NAME.tests.csv, ... beside the report",
     [](Options& o, std::string_view) { o.csv = true; }},
    {0, "html", "", "also write NAME.html, a page of the curves and envelopes, beside the report",
     [](Options& o, std::string_view) { o.html = true; }},
    {0, "regional", "", "characteristic c and phi of a regional data set (page and CSV)",
     [](Options& o, std::string_view) { o.regional = true; }},
    {0, "ags", "", "also write NAME.ags, the results as an AGS4 file, beside the report",
     [](Options& o, std::string_view) { o.ags = true; }},
    {0, "encoding", "NAME", "report in cp857 (the default) or utf-8", &set_encoding},
    {'h', "help", "", "show this help and stop",
     [](Options& o, std::string_view) { o.help = true; }},
    {'V', "version", "", "show the name and version and stop",
     [](Options& o, std::string_view) { o.version = true; }},
};

const OptionSpec* short_option(char letter) {
  for (const OptionSpec& spec : kOptions) {
    if (spec.short_name != 0 && spec.short_name == letter) return &spec;
  }
  return nullptr;
}

const OptionSpec* long_option(std::string_view name) {
  for (const OptionSpec& spec : kOptions) {
    if (spec.long_name == name) return &spec;
  }
  return nullptr;
}

// The walk over the arguments: each option applied as it comes, everything else a data file.
class Parser {
 public:
  explicit Parser(std::span<const std::string_view> args) : args_(args) {}

  Options parse() {
    bool options_ended = false;
    while (next_ < args_.size()) {
      const std::string_view arg = args_[next_++];
      if (options_ended || arg == "-" || !arg.starts_with('-')) {
        options_.data_files.emplace_back(arg);
      } else if (arg == "--") {
        options_ended = true;
      } else if (arg.starts_with("--")) {
        take_long(arg);
      } else {
        take_short(arg);
      }
    }
    return options_;
  }

 private:
  // "--name", "--name=value" or "--name value".
  void take_long(std::string_view arg) {
    const std::string_view body = arg.substr(2);
    const std::size_t equals = body.find('=');
    const OptionSpec* spec = long_option(body.substr(0, equals));
    if (spec == nullptr) throw UsageError(joined({"unknown option '", arg, "'"}));
    if (equals != std::string_view::npos) {
      if (spec->value.empty()) {
        throw UsageError(joined({"option '--", spec->long_name, "' takes no value"}));
      }
      spec->apply(options_, body.substr(equals + 1));
      return;
    }
    spec->apply(options_, spec->value.empty() ? std::string_view{}
                                              : value_for(joined({"--", spec->long_name})));
  }

  // "-f", "-fq" (switches together), "-o value" or "-ovalue".
  void take_short(std::string_view arg) {
    for (std::size_t k = 1; k < arg.size(); ++k) {
      const OptionSpec* spec = short_option(arg[k]);
      if (spec == nullptr) throw UsageError(joined({"unknown option '-", arg.substr(k, 1), "'"}));
      if (spec->value.empty()) {
        spec->apply(options_, {});
        continue;
      }
      const std::string_view rest = arg.substr(k + 1);
      spec->apply(options_, rest.empty() ? value_for(joined({"-", arg.substr(k, 1)})) : rest);
      return;
    }
  }

  std::string_view value_for(const std::string& option) {
    if (next_ >= args_.size()) throw UsageError(joined({"option '", option, "' needs a value"}));
    return args_[next_++];
  }

  std::span<const std::string_view> args_;
  std::size_t next_ = 0;
  Options options_;
};

// "  -o, --output FILE" or "      --encoding NAME", padded to the column of the help.
std::string option_heading(const OptionSpec& spec) {
  std::string heading =
      spec.short_name != 0 ? std::string("  -") + spec.short_name + ", " : "      ";
  heading += "--";
  heading += spec.long_name;
  if (!spec.value.empty()) {
    heading += ' ';
    heading += spec.value;
  }
  constexpr std::size_t kHelpColumn = 24;
  heading.resize(std::max(kHelpColumn, heading.size() + 1), ' ');
  return heading;
}

}  // namespace

Options parse_options(std::span<const std::string_view> args) {
  Options options = Parser(args).parse();
  if (options.help || options.version) return options;
  if (options.data_files.empty()) throw UsageError("no data file given");
  if (!options.report_file.empty() && options.data_files.size() > 1) {
    throw UsageError("option '-o' names the report of one data file, but " +
                     std::to_string(options.data_files.size()) + " were given");
  }
  return options;
}

std::string help_text() {
  std::string text =
      "Usage: ostrevik [OPTIONS] DATA...\n"
      "       ostrevik                   (asks for the data and report file names)\n"
      "       ostrevik convert [-f] [-q] [--csv] [-o OUT] FILE...\n"
      "       ostrevik template [-f] [NAME.toml]\n"
      "\n"
      "Evaluates the shear tests of each data file DATA, in the order given, and writes its\n"
      "report beside it: PATH/NAME.DAT gives PATH/NAME.OUT (a lower-case .dat gives .out).\n"
      "An existing report, page or CSV file is left alone unless --force is given; the files\n"
      "of a data file are put in place together once all are complete. After each data file\n"
      "one line tells where the report went and how its tests ended, followed by notes on\n"
      "values that look implausible (they never change the report or the exit status).\n"
      "A data file whose name ends in .toml is a series file: the tests by name, with what was\n"
      "tested (docs/series-file.md).\n"
      "\n"
      "convert: FILE.DAT becomes the series file FILE.toml (with --csv, the readings of each\n"
      "test in FILE-T1.csv, ...), and FILE.toml the fixed-column file FILE.DAT; -o names the\n"
      "file written. template: a commented series file of three tests that evaluates as it\n"
      "stands, SERIES.toml and SERIES-T3.csv unless named. Neither replaces a file without -f.\n"
      "\n"
      "Options:\n";
  for (const OptionSpec& spec : kOptions) {
    text += option_heading(spec);
    text += spec.help;
    text += '\n';
  }
  text +=
      "  --                    every later argument is a data file\n"
      "\n"
      "Exit status: 0 when every data file was evaluated to its end, 1 when the evaluation of\n"
      "a file ended early (a refused test, the iteration limit), 2 after a fatal error in a\n"
      "file (not found, report exists, a record that cannot be read) or a wrong command line;\n"
      "of several files, the highest.\n"
      "\n"
      "Examples:\n"
      "  ostrevik S1.DAT                        report in S1.OUT\n"
      "  ostrevik -q lab/*.DAT                  every data file of lab/, no summary lines\n"
      "  ostrevik -f -o S1-new.OUT S1.DAT       replace S1-new.OUT if it exists\n"
      "  ostrevik --encoding utf-8 S1.DAT       report in UTF-8 for a modern editor\n"
      "  ostrevik convert S1.DAT                the series file S1.toml\n";
  return text;
}

std::string version_text() {
  return "ostrevik 2026.1\n";
}

}  // namespace ostrevik::driver
