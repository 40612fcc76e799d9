// lxpack create: the launcher program, then the files, then the index, laid
// out by the same writer the tests use, and read back with the launcher's
// own reader before it replaces the output.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AppDirPacker.h"
#include "AtomicOutput.h"
#include "Commands.h"
#include "CreatePlan.h"
#include "DeflatedEntries.h"
#include "FileSignature.h"
#include "FileTypeNames.h"
#include "LauncherFileSet.h"
#include "LauncherImage.h"
#include "OutputOverInput.h"
#include "PackagingMistakes.h"
#include "Password.h"
#include "ProgramArchitecture.h"
#include "Usage.h"
#include "archive/ArchiveWriter.h"

namespace {

// Options that describe the next TYPE=FILE only.
struct EntryOptions {
  bool idGiven = false;
  uint32_t id = 0;
  bool nameGiven = false;
  std::string name;
  bool compressed = false;
  uint32_t fileCount = 0;
  uint32_t size = 0;
  bool deflate = false;
  std::string lastOption;
};

// "dir/" names the folder "dir" too.
std::string baseName(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isTagFileType(int type) { return type >= 0 && type <= 2; }

void parseCompressed(const std::string& value, EntryOptions& options) {
  std::string::size_type comma = value.find(',');
  if (comma == std::string::npos) throw UsageError("--compressed needs FILES,SIZE, got '" + value + "'");
  options.compressed = true;
  options.fileCount = static_cast<uint32_t>(parseNumber(value.substr(0, comma), 0, 0xFFFFFFFFLL, "file count"));
  options.size = static_cast<uint32_t>(parseNumber(value.substr(comma + 1), 0, 0xFFFFFFFFLL, "decompressed size"));
}

ArchiveMember makeMember(const std::string& operand, const EntryOptions& options, size_t position) {
  std::string::size_type equals = operand.find('=');
  if (equals == std::string::npos) throw UsageError("expected TYPE=FILE, got '" + operand + "'");
  const std::string typeText = operand.substr(0, equals);
  ArchiveMember member;
  member.type = parseFileType(typeText);
  if (member.type < 0) throw UsageError("unknown file type '" + typeText + "' in '" + operand + "'");
  const std::string source = operand.substr(equals + 1);
  if (source.empty()) throw UsageError("missing file name in '" + operand + "'");
  member.sourcePath = source.c_str();
  member.id = options.idGiven ? options.id : static_cast<uint32_t>(position);
  member.name = (options.nameGiven ? options.name : baseName(source)).c_str();
  member.compressed = options.compressed;
  member.decompressedFileCount = options.fileCount;
  member.decompressedSize = options.size;
  if (options.deflate && (isTagFileType(member.type) || member.type == FT_APP_DIR || options.compressed)) {
    throw UsageError("--compress does not go with " + operand +
                     (options.compressed ? ": a file marked --compressed is unpacked by the program it serves"
                                         : ": the launcher reads tag files in place, and a folder is always "
                                           "packed compressed"));
  }
  return member;
}

CreatePlan parse(Arguments& args) {
  CreatePlan plan;
  EntryOptions pending;
  std::string value;
  while (!args.done()) {
    const std::string option = args.current();
    if (args.takeOption("-s", "--stub", value)) {
      plan.stub = value;
    } else if (args.takeOption("-a", "--arch", value)) {
      plan.architecture = canonicalArchitecture(value);
      if (plan.architecture.empty()) {
        throw UsageError("unknown architecture '" + value + "': expected x86_64 or aarch64");
      }
    } else if (args.takeOption("-o", "--output", value)) {
      plan.output = value;
    } else if (args.takeOption("-k", "--kind", value)) {
      plan.kind = static_cast<int>(parseNumber(value, 0, 255, "launcher kind"));
    } else if (args.takeFlag(nullptr, "--force")) {
      plan.force = true;
    } else if (args.takeOption(nullptr, "--sign", value)) {
      plan.signingKey = value;
    } else if (args.takeFlag(nullptr, "--no-checksums")) {
      plan.withChecksums = false;
    } else if (args.takeOption(nullptr, "--id", value)) {
      pending.idGiven = true;
      pending.id = static_cast<uint32_t>(parseNumber(value, -1, 0xFFFFFFFFLL, "id"));
      pending.lastOption = option;
    } else if (args.takeOption(nullptr, "--name", value)) {
      pending.nameGiven = true;
      pending.name = value;
      pending.lastOption = option;
    } else if (args.takeOption(nullptr, "--compressed", value)) {
      parseCompressed(value, pending);
      pending.lastOption = option;
    } else if (args.takeFlag(nullptr, "--compress")) {
      pending.deflate = true;
      pending.lastOption = option;
    } else {
      plan.members.push_back(makeMember(args.takeOperand(), pending, plan.members.size()));
      plan.compression.push_back(pending.deflate ? EntryCompression::kDeflate : EntryCompression::kNone);
      pending = EntryOptions();
    }
  }
  if (!pending.lastOption.empty())
    throw UsageError(pending.lastOption + " must be followed by the TYPE=FILE it describes");
  if (plan.output.empty()) throw UsageError("missing --output FILE");
  if (plan.members.empty()) throw UsageError("no TYPE=FILE to embed");
  return plan;
}

// What the launcher would stumble over, found before anything is written.
std::vector<std::string> planProblems(const CreatePlan& plan) {
  std::vector<std::string> problems;
  for (const ArchiveMember& m : plan.members) {
    const std::string source = m.sourcePath.c_str();
    SString nameProblem = entryNameProblem(m.name);
    if (!nameProblem.empty())
      problems.push_back(source + ": invalid name '" + m.name.c_str() + "': " + nameProblem.c_str());
    if (!isTagFileType(m.type)) continue;
    FILE* f = std::fopen(source.c_str(), "rb");
    if (!f) continue;  // the writer names the file and the system's reason
    if (std::fseek(f, -1, SEEK_END) == 0 && std::fgetc(f) != '\n') {
      problems.push_back(source +
                         ": a tag file must end with a line feed: the launcher would read its last line on "
                         "into the bytes that follow it");
    }
    std::fclose(f);
  }
  return problems;
}

mode_t programMode(const std::string& stub) {
  struct stat status;
  if (::stat(stub.c_str(), &status) != 0) throw PackError("cannot read " + stub + ": " + std::strerror(errno));
  return status.st_mode & 0777;
}

// The directory lxpack itself was started from, where the build and a
// packager's unpacked release keep the launcher programs beside it.
std::string ownDirectory() {
  char path[4096];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return std::string();
  std::string self(path, static_cast<size_t>(n));
  return self.substr(0, self.rfind('/'));
}

// The launcher program for the architecture next to lxpack: lxlauncher-ARCH,
// or lxlauncher when that is built for it (the program of the machine it
// was built on).
std::string findProgram(const std::string& architecture) {
  const std::string directory = ownDirectory();
  for (const std::string& name : {"lxlauncher-" + architecture, std::string("lxlauncher")}) {
    const std::string candidate = directory + "/" + name;
    if (::access(candidate.c_str(), R_OK) == 0 && LauncherImage(candidate).architecture() == architecture) {
      return candidate;
    }
  }
  throw PackError("no launcher program for " + architecture + " next to lxpack (looked for lxlauncher-" + architecture +
                  " and lxlauncher in " + directory + "); give one with --stub");
}

// Fills in whichever of the program and its architecture the command line
// left out, and refuses a program that is not the architecture asked for.
void chooseProgram(CreatePlan& plan) {
  if (plan.stub.empty()) {
    if (plan.architecture.empty()) plan.architecture = machineArchitecture();
    if (plan.architecture.empty()) throw UsageError("this machine's architecture is not known: give --arch or --stub");
    plan.stub = findProgram(plan.architecture);
    return;
  }
  const std::string found = LauncherImage(plan.stub).architecture();
  if (found.empty()) {
    throw PackError(plan.stub + " is not a launcher program: it is no 64-bit Linux program for x86_64 or aarch64");
  }
  if (!plan.architecture.empty() && found != plan.architecture) {
    throw PackError(plan.stub + " is a launcher program for " + found + ", not " + plan.architecture);
  }
  plan.architecture = found;
}

void refuseLauncherAsStub(const std::string& stub) {
  LauncherImage image(stub);
  if (image.hasArchive()) {
    throw PackError(stub + " already carries an archive (lxpack list shows it); give the launcher program without one");
  }
}

// Messages name the files as the packager knows them: the ones lxpack
// made itself by their names, not by the temporary directory they wait in.
void say(const CreatePlan& plan, const std::string& prefix, std::string text) {
  if (!plan.generatedDirectory.empty()) {
    const std::string hidden = plan.generatedDirectory + "/";
    for (std::string::size_type at; (at = text.find(hidden)) != std::string::npos;) text.erase(at, hidden.size());
  }
  std::fprintf(stderr, "lxpack: %s%s\n", prefix.c_str(), text.c_str());
}

// A program's folder is packed into its container first; the launcher is
// then written from that as from any other file.
std::unique_ptr<GeneratedDirectory> packFolders(CreatePlan& plan) {
  std::unique_ptr<GeneratedDirectory> packed;
  for (ArchiveMember& m : plan.members) {
    if (m.type != FT_APP_DIR) continue;
    if (!packed) packed.reset(new GeneratedDirectory);
    const std::string container = packed->path() + "/" + std::to_string(m.id) + ".lxdir";
    packed->adopt({container});
    const PackedAppDir folder = packAppDirectory(m.sourcePath.c_str(), container);
    m.sourcePath = container.c_str();
    m.compressed = true;
    m.decompressedFileCount = folder.fileCount;
    m.decompressedSize = folder.size;
  }
  return packed;
}

// Before anything is read or written: the output must not be a file the
// launcher is made from, which the launcher would replace.
void refuseOutputOverInput(const CreatePlan& plan) {
  const std::string input = inputAtOutput(plan.output, plan.stub, plan.members);
  if (input.empty()) return;
  throw UsageError("--output " + plan.output + " is " + input +
                   ": writing the launcher there would replace it; give another output");
}

void fail(const CreatePlan& plan, const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) say(plan, "", problem);
  throw PackError(plan.output + " not written");
}

}  // namespace

int runCreate(Arguments& args) {
  CreatePlan plan = parse(args);
  writePlannedLauncher(plan);
  return 0;
}

void writePlannedLauncher(CreatePlan& plan) {
  // The key is opened first: a wrong password costs no launcher written
  // without its signature.
  std::unique_ptr<SecretKey> signingKey;
  if (!plan.signingKey.empty()) signingKey = openSecretKeyFile(plan.signingKey);
  chooseProgram(plan);
  refuseOutputOverInput(plan);
  const mode_t mode = programMode(plan.stub);
  refuseLauncherAsStub(plan.stub);
  std::vector<std::string> problems = planProblems(plan);
  if (!problems.empty()) fail(plan, problems);
  // Messages name the files as given, not what lxpack packed them into.
  std::vector<std::string> sources;
  for (const ArchiveMember& m : plan.members) sources.push_back(m.sourcePath.c_str());
  const std::unique_ptr<GeneratedDirectory> packedFolders = packFolders(plan);
  const std::vector<std::string> mistakes = packagingMistakes(plan.members);
  if (!mistakes.empty() && !plan.force) {
    for (const std::string& mistake : mistakes) say(plan, "", mistake);
    throw PackError(plan.output + " not written: the launcher could not work" +
                    (plan.forceAllowed ? " (--force writes it anyway)" : ""));
  }
  for (const std::string& mistake : mistakes) say(plan, "warning: ", mistake);
  const std::unique_ptr<GeneratedDirectory> deflated = deflateMembers(plan);

  AtomicOutput output(plan.output);
  writeLauncher(output.stream(), plan.stub.c_str(), plan.members, plan.kind, plan.withChecksums);
  output.finish(mode);

  LauncherImage written(output.temporaryPath());
  // The writer computed each checksum from the bytes it copied (a file
  // that changed while it was copied is refused), so reading them all
  // again would only repeat that; the reader's view of the layout, the
  // names and the tag files is what is checked here.
  for (const Problem& p : written.check(false)) {
    std::string where = plan.output;
    if (p.entry >= 0) {
      where = sources[p.entry] + " (" + plan.members[p.entry].name.c_str() + ")";
    }
    problems.push_back(where + ": " + p.text);
  }
  if (!problems.empty()) fail(plan, problems);
  // The signature is made of the finished file before either is renamed
  // into place, so that a launcher is never left beside the signature of
  // the one it replaced.
  std::unique_ptr<AtomicOutput> signature;
  if (signingKey) {
    const std::string text = signFile(*signingKey, output.temporaryPath(), fileNameOf(plan.output));
    signature.reset(new AtomicOutput(plan.output + ".minisig"));
    if (std::fputs(text.c_str(), signature->stream()) == EOF) {
      throw PackError("cannot write " + signature->temporaryPath() + ": " + std::strerror(errno));
    }
    signature->finish(0644);
  }
  output.commit();
  if (signature) signature->commit();
}
