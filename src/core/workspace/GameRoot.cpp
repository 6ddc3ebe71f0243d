#include "core/workspace/GameRoot.h"
#include "core/workspace/ModLayout.h"

#include "core/catalogue/Tokenizer.h"
#include "core/text/Codepage.h"

namespace cw {

std::string_view startupMessage(StartupStage stage)
{
    switch (stage) {
    case StartupStage::GameRootCheck:
        return "I don't think I'm in the Darwinia root directory as I can't find Darwinia.exe! Exiting...";
    case StartupStage::ModsFolderCheck:
        return "No mods folder found, please create one! Exiting...";
    case StartupStage::ModListing:
        return "No mods found in mods folder! Please create one or something! Exiting...";
    case StartupStage::CatalogueOpen:
        return "commands.txt not found in local folder, please recheck! Exiting...";
    case StartupStage::CatalogueRead:
        return "Error found in commands.txt, please recheck formatting and syntax! Exiting...";
    case StartupStage::Layout:
        return "Someone changed something special and now the world has ended ;-; Exiting...";
    }
    return {};
}

namespace {

StartupFailure failure(StartupStage stage, std::string detail)
{
    return StartupFailure{stage, std::string(startupMessage(stage)), std::move(detail)};
}

std::string noCatalogueDetail(const GameLocation &location, const fs::path &programFolder)
{
    std::string detail =
        "no " + std::string(layout::kCatalogueFile) + " in " + nameAsUtf8(nameOf(location.folder));
    if (location.game)
        detail += ", in " + nameAsUtf8(nameOf(*location.game));
    for (const fs::path &shipped : shippedCatalogues(programFolder))
        detail += ", at " + nameAsUtf8(nameOf(shipped));
    return detail;
}

// The checks both layouts share, from the mods folder on.
Result<GameRoot, StartupFailure> openMods(const GameLocation &location, const fs::path &programFolder)
{
    GameRoot result;
    result.root = location.folder;
    result.layout = location.kind;
    result.game = location.game;
    result.modsFolder = findNoCase(location.folder, layout::kModsFolder);
    if (const auto problem = folderProblem(result.modsFolder))
        return failure(StartupStage::ModsFolderCheck, describe(*problem));
    auto mods = listFolder(result.modsFolder, EntryKind::Folders);
    if (!mods)
        return failure(StartupStage::ModsFolderCheck, describe(mods.error()));
    if (mods->empty())
        return failure(StartupStage::ModListing,
                       describe(IoError{"it holds no mod folder", result.modsFolder}));
    result.mods = std::move(mods).value();

    auto catalogue = loadCatalogueFor(location, programFolder);
    if (!catalogue)
        return catalogue.error();
    result.catalogue = std::move(catalogue).value();
    return result;
}

} // namespace

Result<Catalogue, StartupFailure> loadCatalogueFile(const fs::path &path)
{
    std::error_code code;
    if (fs::is_directory(path, code))
        return failure(StartupStage::CatalogueOpen, describe(IoError{"it is a folder, not a file", path}));
    auto bytes = readFile(path);
    if (!bytes)
        return failure(StartupStage::CatalogueOpen, describe(bytes.error()));
    auto catalogue = loadCatalogue(*bytes);
    if (!catalogue) {
        const CatalogueError &error = catalogue.error();
        // The file is named: it may be the profile's, the game's or the shipped one.
        StartupFailure result =
            failure(StartupStage::CatalogueRead,
                    describe(IoError{"line " + std::to_string(error.line) + ": " + error.detail, path}));
        // A line of more than 21 tokens ends the program with the tokenizer's own words.
        if (error.cause == CatalogueError::Cause::Tokenizer)
            result.message = kTokenizerMessage;
        return result;
    }
    return std::move(catalogue).value();
}

Result<GameRoot, StartupFailure> openGameRoot(const fs::path &root)
{
    // A folder that is missing or cannot be read is named as such, not by the first
    // file that could then not be found in it.
    if (const auto problem = folderProblem(root))
        return failure(StartupStage::GameRootCheck, describe(*problem));
    const fs::path exe = findNoCase(root, layout::kGameProgram);
    auto hasContent = fileHasContent(exe);
    if (!hasContent)
        return failure(StartupStage::GameRootCheck, describe(hasContent.error()));
    if (!*hasContent)
        return failure(StartupStage::GameRootCheck, describe(IoError{"it is empty", exe}));

    return openMods(gameRootAt(root), fs::path());
}

Result<GameRoot, StartupFailure> openProfile(const GameLocation &profile, const fs::path &programFolder)
{
    if (const auto problem = folderProblem(profile.folder))
        return failure(StartupStage::ModsFolderCheck, describe(*problem));
    return openMods(profile, programFolder);
}

Result<GameRoot, StartupFailure> openLocation(const GameLocation &location, const fs::path &programFolder)
{
    return location.kind == LayoutKind::GameRoot ? openGameRoot(location.folder)
                                                 : openProfile(location, programFolder);
}

Result<Catalogue, StartupFailure> loadCatalogueFor(const GameLocation &location,
                                                   const fs::path &programFolder)
{
    const std::optional<fs::path> file = catalogueFileOf(location, programFolder);
    if (!file)
        return failure(StartupStage::CatalogueOpen, noCatalogueDetail(location, programFolder));
    return loadCatalogueFile(*file);
}

} // namespace cw
