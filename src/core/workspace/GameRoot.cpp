#include "core/workspace/GameRoot.h"
#include "core/workspace/ModLayout.h"

#include "core/catalogue/Tokenizer.h"

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

} // namespace

Result<Catalogue, StartupFailure> loadCatalogueOf(const fs::path &root)
{
    const fs::path path = findNoCase(root, layout::kCatalogueFile);
    std::error_code code;
    if (fs::is_directory(path, code))
        return failure(StartupStage::CatalogueOpen, describe(IoError{"it is a folder, not a file", path}));
    auto bytes = readFile(path);
    if (!bytes)
        return failure(StartupStage::CatalogueOpen, describe(bytes.error()));
    auto catalogue = loadCatalogue(*bytes);
    if (!catalogue) {
        const CatalogueError &error = catalogue.error();
        StartupFailure result = failure(StartupStage::CatalogueRead, error.describe());
        // A line of more than 21 tokens ends the program with the tokenizer's own words.
        if (error.cause == CatalogueError::Cause::Tokenizer)
            result.message = kTokenizerMessage;
        return result;
    }
    return std::move(catalogue).value();
}

Result<GameRoot, StartupFailure> openGameRoot(const fs::path &root)
{
    const fs::path exe = findNoCase(root, layout::kGameProgram);
    auto hasContent = fileHasContent(exe);
    if (!hasContent)
        return failure(StartupStage::GameRootCheck, describe(hasContent.error()));
    if (!*hasContent)
        return failure(StartupStage::GameRootCheck, describe(IoError{"it is empty", exe}));

    GameRoot result;
    result.root = root;
    result.modsFolder = findNoCase(root, layout::kModsFolder);
    auto mods = listFolder(result.modsFolder, EntryKind::Folders);
    if (!mods)
        return failure(StartupStage::ModsFolderCheck, describe(mods.error()));
    if (mods->empty())
        return failure(StartupStage::ModListing,
                       describe(IoError{"it holds no mod folder", result.modsFolder}));
    result.mods = std::move(mods).value();

    auto catalogue = loadCatalogueOf(root);
    if (!catalogue)
        return catalogue.error();
    result.catalogue = std::move(catalogue).value();
    return result;
}

} // namespace cw
