#!/usr/bin/env bash
# Lays out a Flutter project as flutter create does, with what says where its icons go: the iOS
# and macOS Xcode projects and catalogs, the Android app module and its manifest, the web manifest
# and the Windows runner's resources; SOURCE is its icon, in assets/icon.png and assets/icon-dev.png.
# For the benchmarks and the pictures of the window. Usage: make-flutter-project.sh DIR SOURCE
set -euo pipefail
flutter=$1
src=$2
mkdir -p "$flutter"/{assets,web,windows/runner/resources,android/app/src/main/res/values}
cp "$src" "$flutter/assets/icon.png"
cp "$src" "$flutter/assets/icon-dev.png"
printf 'name: demo\nflutter:\n  uses-material-design: true\n' >"$flutter/pubspec.yaml"
for platform in ios macos; do
  sdk=iphoneos entry='{"idiom":"universal","platform":"ios","size":"1024x1024"}'
  [ $platform = macos ] && sdk=macosx entry='{"idiom":"mac","scale":"1x","size":"512x512"}'
  mkdir -p "$flutter/$platform/Runner.xcodeproj" "$flutter/$platform/Runner/Assets.xcassets/AppIcon.appiconset"
  echo '{"info":{"author":"xcode","version":1}}' >"$flutter/$platform/Runner/Assets.xcassets/Contents.json"
  echo "{\"images\":[$entry],\"info\":{\"author\":\"xcode\",\"version\":1}}" \
    >"$flutter/$platform/Runner/Assets.xcassets/AppIcon.appiconset/Contents.json"
  cat >"$flutter/$platform/Runner.xcodeproj/project.pbxproj" <<PBX
// !\$*UTF8*\$!
{ archiveVersion = 1; objects = {
F = {isa = PBXFileReference; path = Assets.xcassets; sourceTree = "<group>"; };
B = {isa = PBXBuildFile; fileRef = F; };
R = {isa = PBXResourcesBuildPhase; files = (B, ); };
C = {isa = XCBuildConfiguration; buildSettings = {ASSETCATALOG_COMPILER_APPICON_NAME = AppIcon; SDKROOT = $sdk; }; name = Release; };
L = {isa = XCConfigurationList; buildConfigurations = (C, ); };
T = {isa = PBXNativeTarget; buildConfigurationList = L; buildPhases = (R, ); name = Runner; productType = "com.apple.product-type.application"; };
G = {isa = PBXGroup; children = (F, ); path = Runner; sourceTree = "<group>"; };
M = {isa = PBXGroup; children = (G, ); sourceTree = "<group>"; };
P = {isa = PBXProject; mainGroup = M; projectDirPath = ""; targets = (T, ); };
}; rootObject = P; }
PBX
done
echo "include ':app'" >"$flutter/android/settings.gradle"
printf 'plugins {\n    id "com.android.application"\n}\n' >"$flutter/android/app/build.gradle"
cat >"$flutter/android/app/src/main/AndroidManifest.xml" <<'XML'
<manifest xmlns:android="http://schemas.android.com/apk/res/android" package="org.example.demo">
    <application android:label="demo" android:icon="@mipmap/ic_launcher"/>
</manifest>
XML
cat >"$flutter/web/manifest.json" <<'JSON'
{"name": "demo", "icons": [
  {"src": "icons/Icon-192.png", "sizes": "192x192", "type": "image/png"},
  {"src": "icons/Icon-512.png", "sizes": "512x512", "type": "image/png"},
  {"src": "icons/Icon-maskable-192.png", "sizes": "192x192", "type": "image/png", "purpose": "maskable"},
  {"src": "icons/Icon-maskable-512.png", "sizes": "512x512", "type": "image/png", "purpose": "maskable"}]}
JSON
