#include "driver/series_commands.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "codec/errors.h"
#include "driver/console.h"
#include "driver/data_input.h"
#include "driver/file_system.h"
#include "driver/files.h"
#include "driver/options.h"
#include "input/series_file.h"
#include "input/series_source.h"

namespace ostrevik::driver {
namespace {

constexpr int kFatal = 2;

// The files a conversion writes: each path with its bytes, the main file first.
using Outputs = std::vector<std::pair<std::string, std::string>>;

// One output written whole under a temporary of its own, created new beside it; returns the
// temporary's name. Throws ReportFileError when it cannot be written.
std::string written_temporary(const std::string& path, std::string_view bytes, int k) {
  const std::string temporary =
      path + ".new-" + std::to_string(current_process_id()) + "-" + std::to_string(k);
  SystemError error = 0;
  std::FILE* file = create_new_file(temporary, error);
  if (file == nullptr) {
    throw ReportFileError("cannot create file, file " + temporary + ": " + reason_of(error));
  }
  errno = 0;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                 std::fflush(file) == 0 && flush_to_disk(file);
  error = errno;
  written = std::fclose(file) == 0 && written;
  if (!written) {
    remove_file(temporary);
    throw ReportFileError("write error, file " + path + ": " + reason_of(error != 0 ? error : EIO));
  }
  return temporary;
}

// Every output written whole first, then put in place together: without `force` only where no
// file of the name exists (a clash takes back what was put in place), with it replacing.
void write_outputs(const Outputs& outputs, bool force) {
  std::vector<std::string> temporaries;
  try {
    for (const auto& [path, bytes] : outputs) {
      temporaries.push_back(written_temporary(path, bytes, static_cast<int>(temporaries.size())));
    }
  } catch (...) {
    for (const std::string& t : temporaries) remove_file(t);
    throw;
  }
  for (std::size_t k = 0; k < outputs.size(); ++k) {
    const std::string& path = outputs[k].first;
    const auto error =
        force ? rename_replacing(temporaries[k], path) : rename_no_replace(temporaries[k], path);
    if (!error) continue;
    for (std::size_t back = 0; back < k && !force; ++back) {
      rename_no_replace(outputs[back].first, temporaries[back]);
    }
    for (const std::string& t : temporaries) remove_file(t);
    if (*error == EEXIST) throw codec::FatalError(codec::FatalKind::FileExists, 6, path);
    throw ReportFileError("cannot create file, file " + path + ": " + reason_of(*error));
  }
}

std::string with_extension(const std::string& path, const std::string& extension) {
  const std::filesystem::path p(path);
  return (p.parent_path() / p.stem()).string() + extension;
}

// FILE.DAT as FILE.toml, with FILE-T1.csv, ... for the readings when asked.
Outputs series_outputs(const std::string& path, const std::string& target, bool csv) {
  DataInput data = DataInput::read(path);
  const std::vector<RawTest> tests = data.all_tests();
  std::vector<std::string> names;
  const std::filesystem::path toml(target);
  for (std::size_t k = 0; csv && k < tests.size(); ++k) {
    names.push_back(toml.stem().string() + "-T" + std::to_string(k + 1) + ".csv");
  }
  input::WrittenSeries written = input::series_text(tests, names);
  Outputs outputs{{target, std::move(written.toml)}};
  for (std::size_t k = 0; k < names.size(); ++k) {
    outputs.emplace_back((toml.parent_path() / names[k]).string(), std::move(written.csv[k]));
  }
  return outputs;
}

Outputs outputs_of(const std::string& path, const Options& options) {
  const bool series = is_series_file(path);
  const std::string target = !options.report_file.empty() ? options.report_file
                             : series                     ? with_extension(path, ".DAT")
                                                          : with_extension(path, ".toml");
  if (!series) return series_outputs(path, target, options.csv);
  DataInput data = DataInput::read(path);
  return {{target, input::fixed_column_text(data.all_tests())}};
}

// Refuses to replace a file (or the file converted) unless --force is given.
void refuse_existing(const Outputs& outputs, const std::string& source, bool force) {
  for (const auto& [path, bytes] : outputs) {
    std::error_code unknown;
    if (std::filesystem::equivalent(path, source, unknown)) {
      throw ReportFileError("the conversion would replace its own source, file " + path);
    }
    if (!force && std::filesystem::exists(path)) {
      throw codec::FatalError(codec::FatalKind::FileExists, 6, path);
    }
  }
}

int convert_file(const std::string& path, const Options& options) {
  try {
    const Outputs outputs = outputs_of(path, options);
    refuse_existing(outputs, path, options.force);
    write_outputs(outputs, options.force);
    if (!options.quiet) std::printf("%s -> %s\n", path.c_str(), outputs.front().first.c_str());
    return 0;
  } catch (const codec::FatalError& e) {
    write_error_line(codec::message_of(e));
  } catch (const input::SeriesError& e) {
    write_error_line(e.what());
  } catch (const ReportFileError& e) {
    write_error_line(e.what());
  }
  write_error_line(path + ": nothing written");
  return kFatal;
}

Options options_of(std::span<const std::string_view> args, std::string_view verb) {
  try {
    return parse_options(args);
  } catch (const UsageError& e) {
    write_error_line("ostrevik " + std::string(verb) + ": " + e.what() + " (see ostrevik --help)");
    throw;
  }
}

}  // namespace

int convert_main(std::span<const std::string_view> args) {
  Options options;
  try {
    options = options_of(args, "convert");
  } catch (const UsageError&) {
    return kFatal;
  }
  if (options.data_files.empty() ||
      (!options.report_file.empty() && options.data_files.size() > 1)) {
    write_error_line("ostrevik convert: give one or more data files (-o only with one)");
    return kFatal;
  }
  int status = 0;
  for (const std::string& path : options.data_files) {
    status = std::max(status, convert_file(path, options));
  }
  std::fflush(stdout);
  return status;
}

int template_main(std::span<const std::string_view> args) {
  Options options;
  // An empty name stands for the default one, so that options alone are a command line too.
  std::vector<std::string_view> with_default(args.begin(), args.end());
  with_default.emplace_back();
  try {
    options = options_of(with_default, "template");
  } catch (const UsageError&) {
    return kFatal;
  }
  std::erase(options.data_files, std::string());
  if (options.data_files.size() > 1) {
    write_error_line("ostrevik template: give at most one file name");
    return kFatal;
  }
  const std::string toml = options.data_files.empty() ? "SERIES.toml" : options.data_files.front();
  const std::string csv_name = std::filesystem::path(toml).stem().string() + "-T3.csv";
  const std::string csv = (std::filesystem::path(toml).parent_path() / csv_name).string();
  TemplateFiles files = template_files(csv_name);
  const Outputs outputs{{toml, std::move(files.toml)}, {csv, std::move(files.csv)}};
  try {
    refuse_existing(outputs, "", options.force);
    write_outputs(outputs, options.force);
  } catch (const codec::FatalError& e) {
    write_error_line(codec::message_of(e));
    return kFatal;
  } catch (const ReportFileError& e) {
    write_error_line(e.what());
    return kFatal;
  }
  if (!options.quiet) std::printf("%s and %s written\n", toml.c_str(), csv.c_str());
  return 0;
}

}  // namespace ostrevik::driver
