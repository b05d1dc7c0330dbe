#!/usr/bin/env python3
"""A small mutation check: applies each hand-written mutant below to the product code, one at a
time, rebuilds incrementally, runs ctest and reports whether some test caught it.

Usage: scripts/mutants.py [--work DIR] [--only NAME[,NAME...]] [--list]

It works on a copy of the committed tree in DIR (default build-mutants), never on the checkout,
so a killed run leaves nothing mutated behind; the copy is made afresh at every run and built in
DIR/build. A checkout with uncommitted changes is refused: they would not be what is measured.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

# (name, behaviour guarded, file, text as it stands, text of the mutant). Each text must occur
# exactly once in its file; a mutant that no longer applies is reported as stale.
MUTANTS = [
    ("table-side-167", "the icon table's sides", "src/apple/appiconset.cpp",
     '"Icon-App-83.5x83.5@2x.png"), 167}', '"Icon-App-83.5x83.5@2x.png"), 166}'),
    ("table-name", "the icon table's sides", "src/apple/appiconset.cpp",
     '"Icon-App-60x60@2x.png"), 120}', '"Icon-App-60x60@1x.png"), 120}'),
    ("set-rounds", "the image set's truncation", "src/image/imageresizing.cpp",
     "rescaled(image, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height))",
     "rescaled(image, std::llround(width), std::llround(height))"),
    ("set-2x-from-1x-pixels", "the image set's 2x rule", "src/apple/imageset.cpp",
     "QSizeF(thirdWidth + thirdWidth, thirdHeight + thirdHeight)",
     "QSizeF(int(thirdWidth) * 2.0, int(thirdHeight) * 2.0)"),
    ("artwork-no-copies", "the artwork copies", "src/apple/catalogwriter.cpp",
     'key.contains(QLatin1String("tunes"))', 'key.contains(QLatin1String("Tunes"))'),
    ("artwork-copies-all", "the artwork copies", "src/apple/catalogwriter.cpp",
     "return copyArtworkToPlatformFolder && isArtwork(key);", "return copyArtworkToPlatformFolder;"),
    ("message-loses", "a message winning over a map", "src/apple/catalogwriter.cpp",
     "if (message) {", "if (message && !images) {"),
    ("icon-failure-text", "the printed lines", "src/apple/appiconset.cpp",
     'QStringLiteral("Couldn\'t get image")', 'QStringLiteral("Couldn\'t get image.")'),
    ("line-without-newline", "the printed lines", "src/support/lineprinter.cpp",
     "text.toUtf8() + '\\n'", "text.toUtf8()"),
    ("write-error-unprinted", "the printed lines", "src/apple/catalogwriter.cpp",
     "for (const QString& failure : report.failures)\n            printLine(failure);",
     "for (const QString& failure : report.failures)\n            (void)failure;"),
    ("opaque-keeps-alpha", "the colour type for opaque images", "src/png/pngencoder.cpp",
     ": hasTransparentPixels(image)      ? Layout::Rgba", ": true                             ? Layout::Rgba"),
    ("extension-case", "the drop zone's extension rule", "src/ui/dragview.cpp",
     "pathExtension(*path).toLower();", "pathExtension(*path);"),
    ("extension-first-dot", "the drop zone's extension rule", "src/ui/dragview.cpp",
     "const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));",
     "const qsizetype dot = name.indexOf(QLatin1Char('.'));"),
    ("segments-swapped", "the segment-to-job mapping", "src/ui/homecontroller.cpp",
     "if (kind == OutputKind::AppIconSet) {", "if (kind == OutputKind::ImageSet) {"),
    ("other-segment-starts-a-job", "the segment-to-job mapping", "src/ui/homecontroller.cpp",
     "kind = this->kind();\n    if (!kind)\n        return;", "kind = this->kind();"),
    ("asset-name-first-dot", "the asset name", "src/apple/assetname.cpp",
     "name.lastIndexOf(QLatin1Char('.'))", "name.indexOf(QLatin1Char('.'))"),
    ("asset-name-leading-dot", "the asset name", "src/apple/assetname.cpp",
     "if (dot > 0)", "if (dot >= 0)"),
    ("link-followed-out", "no write through a link out of the destination", "src/support/fileio.cpp",
     "if (!isWithin(resolvedPath(path), resolvedPath(within)))", "if (false)"),
    ("old-set-kept", "the files of an earlier set removed", "src/apple/catalogwriter.cpp",
     "else\n            plan.removals << path;", "else\n            (void)path;"),
    ("icon-failure-silent", "the failure forms of both jobs", "src/apple/appiconset.cpp",
     '(*sharedCompletion)(std::nullopt, QStringLiteral("Couldn\'t get image"));\n                return;',
     "return;"),
    ("icon-failure-on-main", "the failure forms of both jobs", "src/apple/appiconset.cpp",
     '(*sharedCompletion)(std::nullopt, QStringLiteral("Couldn\'t get image"));\n                return;',
     'queues.postToMain([sharedCompletion] { (*sharedCompletion)(std::nullopt, QStringLiteral("Couldn\'t get image")); });\n                return;'),
    ("set-failure-goes-on", "the failure forms of both jobs", "src/apple/imageset.cpp",
     'printLine(QStringLiteral("Couldn\'t get image"));\n            return false;',
     'printLine(QStringLiteral("Couldn\'t get image"));\n            continue;'),
    ("set-failure-to-completion", "the failure forms of both jobs", "src/apple/imageset.cpp",
     'printLine(QStringLiteral("Couldn\'t get image"));\n            return false;',
     '(*sharedCompletion)(std::nullopt, QStringLiteral("Couldn\'t get image"));\n            return false;'),
    ("destination-made-again", "the writer's folder rules", "src/apple/catalogwriter.cpp",
     "report = installCatalogSet(*destination, set);", "report = installCatalogSet(*destination, set, true);"),
    ("set-name-with-slash", "the writer's folder rules", "src/support/paths.cpp",
     "!name.contains(QLatin1Char('/')) && ", ""),
    ("default-set-name", "the writer's folder rules", "src/apple/catalogwriter.cpp",
     'QStringLiteral("asset")) + QStringLiteral(".imageset")', 'QStringLiteral("Asset")) + QStringLiteral(".imageset")'),
    ("platform-folder-name", "the writer's folder rules", "src/apple/catalogwriter.h",
     'QString platformFolder = QStringLiteral("iOS");', 'QString platformFolder = QStringLiteral("ios");'),
    ("template-read-unprinted", "a failed template read", "src/apple/catalogwriter.cpp",
     "set.printed = !contents.missing;", "set.printed = false;"),
    ("open-selection-without-window", "openSelection with no window", "src/ui/homecontroller.cpp",
     "if (!shown || !shown->isVisible())\n        return;", "if (!shown)\n        return;"),
    ("singular-count", "the singular status text", "src/ui/jobsummary.cpp",
     "return count == 1 ?", "return count == 0 ?"),
    # The newer behaviours: today's app icons, catalogs, vector sources and the window.
    ("background-ignored", "a background for transparent art", "src/apple/appiconplan.cpp",
     "plan.image = options.background ? onBackground(*shaped, *options.background) : shaped;",
     "plan.image = shaped;"),
    ("transparent-store-icon-taken", "refusing a transparent App Store icon", "src/apple/appiconplan.cpp",
     "if (options.singleSize && !options.background && sourceHasTransparency)", "if (false)"),
    ("swap-not-atomic", "a set swapped into a catalog whole", "src/target/installer.cpp",
     "if (::renameat2(folder, staged.c_str(), folder, name.c_str(), RENAME_EXCHANGE) == 0)\n        return 0;",
     "if (::renameat(folder, name.c_str(), folder, (staged + \"-gap\").c_str()) == 0\n"
     "        && ::renameat(folder, staged.c_str(), folder, name.c_str()) == 0\n"
     "        && ::renameat(folder, (staged + \"-gap\").c_str(), folder, staged.c_str()) == 0)\n        return 0;"),
    ("rollback-skipped", "a failed run leaves the destination as it was", "src/target/installer.cpp",
     "            rollBack();\n            return m_report;", "            return m_report;"),
    ("rollback-keeps-the-new", "a failed run puts back what it replaced", "src/target/installer.cpp",
     "            else if (entry->existed)\n                exchange(folder, entry->staged, entry->name);",
     "            else if (entry->existed)\n                (void)folder;"),
    ("link-in-a-files-place-replaced", "a link in the way stops the run", "src/target/installer.cpp",
     "            case Entry::Kind::File:\n                if (S_ISLNK(status.st_mode))",
     "            case Entry::Kind::File:\n                if (false)"),
    ("user-files-replaced", "keeping what the user has in a set folder", "src/apple/setinstaller.cpp",
     "if (!named.contains(name))", "if (false)"),
    ("store-alpha-unchecked", "check's store-icon-alpha rule", "src/apple/setcheck.cpp",
     "isStoreSlot(entry, ApplePlatform::iOS) && structure.hasAlpha())",
     "isStoreSlot(entry, ApplePlatform::iOS) && structure.colourType == 4)"),
    ("svg-external-followed", "no file outside an SVG is read", "src/image/svgdocument.cpp",
     "cut = true;", "cut = false;"),
    ("svg-not-dropped", "the drop zone's extension rule", "src/ui/dragview.h",
     'QStringLiteral("svg"),  QStringLiteral("svgz")', 'QStringLiteral("svgz")'),
    ("generate-without-image", "Generate disabled until an image is loaded", "src/ui/sourcecheck.cpp",
     'check.blocked = tr("Drop or open an image first.");\n        return check;',
     'check.blocked = tr("Drop or open an image first.");\n        check.canGenerate = true;\n        return check;'),
    ("android-art-past-circle", "the launcher icon's art inside the safe circle", "src/image/artplacement.cpp",
     "circle * side * (1 - padding) - 2;", "circle * side * (1 - padding) + 6;"),
    ("android-list-obeyed", "a planted list never removes the app's files", "src/android/resfolderwriter.cpp",
     "&& isResourceOf(parts[1], name) && !files.removals.contains(path))", "&& !files.removals.contains(path))"),
    ("android-clash-ignored", "a resource Android's build would find twice", "src/android/androidinstall.cpp",
     "if (!clashes.isEmpty() && !force)", "if (false)"),
    # The desktops' and the web's formats.
    ("ico-as-cursor", "the .ico header", "src/desktop/icofile.cpp",
     "put16(out, 1); // an icon, not a cursor", "put16(out, 2); // an icon, not a cursor"),
    ("ico-dib-height-single", "the .ico DIB header", "src/desktop/icofile.cpp",
     "put32(out, quint32(height * 2)); // the colour rows and the mask's",
     "put32(out, quint32(height)); // the colour rows and the mask's"),
    ("icns-magic", "the .icns header", "src/desktop/icnsfile.cpp",
     'QByteArray out("icns");', 'QByteArray out("icnx");'),
    ("manifest-rewritten-whole", "a site's manifest kept as it was", "src/web/webicons.cpp",
     "add(*site.manifestPath, *text);", "add(*site.manifestPath, manifestOf(missing));"),
    ("notification-in-colour", "the notification icon white in the art's shape", "src/android/androidiconplan.cpp",
     "whiteOf(artInSquare(*art, artBounds, side, notificationArtDp / notificationIconDp))",
     "(artInSquare(*art, artBounds, side, notificationArtDp / notificationIconDp))"),
    ("res-check-no-monochrome-quiet", "check's no-monochrome rule", "src/android/rescheck.cpp",
     'if (!icon.layers.count(QStringLiteral("monochrome")) && !watch)', "if (false)"),
    # Android as a Gradle project has it.
    ("gradle-dependencies-ignored", "a library module's resources reach the app", "src/android/gradleproject.cpp",
     "module.dependencies = dependenciesOf(script, settings.modules);", "module.dependencies = {};"),
    ("minsdk-ignored", "no legacy densities at minSdk 26", "src/android/rescheck.cpp",
     "const int minSdk = view.minSdk.value_or(1);", "const int minSdk = 1;"),
    ("tile-icon-judged-as-launcher", "only launcher icons judged by size", "src/android/androidmanifest.cpp",
     'element == QLatin1String("application") || element == QLatin1String("activity-alias")', "true"),
    ("round-icon-always", "a round icon only where the manifest names one", "src/android/launchericonname.cpp",
     ": rounds.isEmpty()                ? QString()",
     ": rounds.isEmpty()                ? chosen.name + QStringLiteral(\"_round\")"),
    ("colour-defined-twice", "the colour changed in place, not defined again", "src/android/androidinstall.cpp",
     "std::erase_if(files.plan.files, [&](const PlannedFile& file) { return file.path == colourFile; });", ""),
    ("themed-without-detail", "the themed icon keeps the art's inner detail", "src/image/artplacement.cpp",
     "    if (!outline)\n        return whiteOf(art);", "    return whiteOf(art);"),
    # A project's sync and its check.
    ("check-trusts-any-lock", "the lock trusted only for the inputs it records", "src/project/projectsync.cpp",
     "&& locked->second.inputs == inputsDigest(target, root))", ")"),
    ("whole-folder-strays-unseen", "a stray file in a set found stale", "src/project/projectsync.cpp",
     "for (const QString& folder : locked.folders)", "for (const QString& folder : QStringList())"),
    ("flavor-writes-main-res", "a flavor's Android icon in its own source set", "src/project/projecttarget.cpp",
     "res.chopped(8) + name + QStringLiteral(\"/res\")", "res"),
    ("dry-run-writes", "a dry run writes nothing", "src/project/projectsync.cpp",
     "if (mode != SyncMode::Write) {", "if (mode == SyncMode::Check) {"),
    ("cut-png-reaches-libpng", "a damaged PNG said in one line", "src/image/imageloading.cpp",
     ' || (qstrcmp(format, "png") == 0 && !hasWholeChunks(wholeFile))', ""),
    ("source-in-the-way-written", "no image the icons are made from is written over", "src/project/projectsync.cpp",
     "for (const ImageInTheWay& image : imagesInTheWay(targets.targets, places, root))",
     "for (const ImageInTheWay& image : std::vector<ImageInTheWay>())"),
    ("transparent-store-icon-synced", "sync writes nothing App Store Connect rejects", "src/project/targetplacement.cpp",
     "if (note == AppIconNote::TransparentStoreIcon) {", "if (false) {"),
    ("drop-ignored", "slots quorva.toml says go", "src/apple/setinstaller.cpp",
     "!drop.contains(slotKind(entry))", "true"),
    ("tool-leftovers-block", "an icon tool's leftovers replaced without force", "src/apple/setinstaller.cpp",
     "tool && !named.contains(name)", "false && tool"),
    ("themed-layer-not-imported", "init keeps the themed layer", "src/project/projectinit.cpp",
     'table[QStringLiteral("monochrome")] = {true, 0};', 'table[QStringLiteral("monochrome")] = {false, 0};'),
    ("colour-case-lost", "a colour kept as it is written", "src/android/androidiconplan.cpp",
     "hex.match(options.backgroundColourText).hasMatch()", "false"),
    ("hidden-list-in-res", "no hidden files in res where the lock keeps the list", "src/project/targetplacement.cpp",
     "playStore ? std::optional(root / toPath(*playStore)) : std::nullopt, written);",
     "playStore ? std::optional(root / toPath(*playStore)) : std::nullopt, std::nullopt);"),
    ("flavor-configurations-ignored", "a flavor's set as its configurations select it", "src/project/projectinit.cpp",
     "QStringList configurations = app ? app->configurationsOf(name) : QStringList();",
     "QStringList configurations;"),
]


def run(command, cwd, log):
    with open(log, "ab") as out:
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def first_failure(log):
    with open(log, errors="replace") as text:
        found = re.findall(r"^\s*\d+ - (\S+)", text.read(), re.M)
    return found[0] if found else "?"


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", default="build-mutants")
    parser.add_argument("--only", default="")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    chosen = [m for m in MUTANTS if not args.only or m[0] in args.only.split(",")]
    if args.list:
        for name, behaviour, path, _, _ in chosen:
            print(f"{name:32} {behaviour:40} {path}")
        return 0

    dirty = subprocess.run(["git", "status", "--porcelain", "--untracked-files=no"], cwd=root,
                           capture_output=True, text=True).stdout.strip()
    if dirty:
        print("the checkout has uncommitted changes; commit or stash them first:\n" + dirty, file=sys.stderr)
        return 2
    work = os.path.join(root, args.work)
    source = os.path.join(work, "src-copy")
    build = os.path.join(work, "build")
    shutil.rmtree(source, ignore_errors=True)
    os.makedirs(source)
    archive = subprocess.run(["git", "archive", "HEAD"], cwd=root, capture_output=True, check=True).stdout
    # Extracted as new files (-m), so that no object built from a mutant of an earlier run is
    # taken for up to date.
    subprocess.run(["tar", "-x", "-m", "-C", source], input=archive, check=True)

    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    os.makedirs(build, exist_ok=True)
    log = os.path.join(work, "mutants.log")
    open(log, "w").close()
    configure = ["cmake", "-S", source, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 "-DQUORVA_BUILD_BENCH=OFF"]
    build_cmd = ["cmake", "--build", build]
    test_cmd = ["ctest", "--test-dir", build, "-j", str(os.cpu_count() or 2), "--stop-on-failure",
                "--timeout", "300", "--output-on-failure"]
    if run(configure, source, log) or run(build_cmd, source, log) or run(test_cmd, source, log):
        print(f"the unmutated build or its tests fail; see {log}", file=sys.stderr)
        return 2

    caught = 0
    for name, behaviour, path, old, new in chosen:
        file = os.path.join(source, path)
        original = open(file).read() if os.path.exists(file) else ""
        if original.count(old) != 1:
            print(f"STALE     {name:32} {behaviour}: the text is found {original.count(old)} times in {path}")
            continue
        started = time.monotonic()
        try:
            with open(file, "w") as f:
                f.write(original.replace(old, new))
            mutant_log = os.path.join(work, f"mutant-{name}.log")
            open(mutant_log, "w").close()
            if run(build_cmd, source, mutant_log):
                verdict = "NOBUILD "
                by = "the compiler"
            elif run(test_cmd, source, mutant_log):
                verdict = "caught  "
                by = first_failure(mutant_log)
                caught += 1
            else:
                verdict = "SURVIVED"
                by = "-"
        finally:
            with open(file, "w") as f:
                f.write(original)
        print(f"{verdict}  {name:32} {behaviour:40} {time.monotonic() - started:5.0f} s  {by}", flush=True)
    print(f"{caught} of {len(chosen)} mutants caught")
    return 0 if caught == len(chosen) else 1


if __name__ == "__main__":
    sys.exit(main())
