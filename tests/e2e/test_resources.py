"""The resources WordHatch.exe carries, read by probe.exe through the Windows resource calls."""
import os
import xml.etree.ElementTree as ElementTree

import harness
from harness import FCONTROL, FNOINVERT, FVIRTKEY
from wordhatch_menu import MAIN_MENU, menu_tree

ICON_GROUP = 1001
ICON_SIZES = [48, 32, 16]
ICON_BITS_PER_PIXEL = 8  # 256 colours
MAIN_MENU_ID = 3000
ACCELERATORS_ID = 5001
ACCELERATORS = [("O", 3101), ("S", 3102), ("A", 3103)]
HELP_TEXT_ID = 8001
DEFAULT_TRIGGERS_ID = 8002
MANIFEST_ID = 1
ASSEMBLY_NAMESPACE = "{urn:schemas-microsoft-com:asm.v1}"
MANIFEST_ARCHITECTURES = {"win32": "x86", "win64": "amd64"}


class ResourcesTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.exe = os.path.join(harness.win_dir(), harness.EXE_NAME)

    def test_resource_table_names_every_resource(self):
        listed = {(r.type, r.name) for r in self.probe.resources(self.exe)}
        for wanted in [("GROUP_ICON", str(ICON_GROUP)), ("MENU", str(MAIN_MENU_ID)),
                       ("ACCELERATOR", str(ACCELERATORS_ID)), ("RCDATA", str(HELP_TEXT_ID)),
                       ("RCDATA", str(DEFAULT_TRIGGERS_ID)), ("MANIFEST", str(MANIFEST_ID))]:
            self.assertIn(wanted, listed)

    def test_icon_group_has_three_256_colour_sizes(self):
        images = self.probe.icon_group(self.exe, ICON_GROUP)
        self.assertEqual(sorted(((i.width, i.height) for i in images), reverse=True),
                         [(size, size) for size in ICON_SIZES])
        for image in images:
            described = "icon image %r" % (image,)
            self.assertEqual(image.bit_count, ICON_BITS_PER_PIXEL, described)
            # The image data itself must agree with its directory entry.
            self.assertEqual(image.format, "dib", described)
            self.assertEqual((image.image_width, image.image_height), (image.width, image.height), described)
            self.assertEqual(image.image_bpp, ICON_BITS_PER_PIXEL, described)

    def test_menu_resource(self):
        self.assertEqual(menu_tree(self.probe.resource_menu(self.exe, MAIN_MENU_ID)), MAIN_MENU)

    def test_accelerators(self):
        table = self.probe.accelerators(self.exe, ACCELERATORS_ID)
        self.assertEqual([(a.flags, a.key, a.command) for a in table],
                         [(FVIRTKEY | FCONTROL | FNOINVERT, ord(key), command) for key, command in ACCELERATORS])

    def test_packed_texts_are_present(self):
        for name in (HELP_TEXT_ID, DEFAULT_TRIGGERS_ID):
            data = self.probe.resource_data(self.exe, "RCDATA", name)
            self.assertGreater(len(data), 0, "RCDATA %d is empty" % name)
        sizes = {r.name: r.size for r in self.probe.resources(self.exe) if r.type == "RCDATA"}
        self.assertEqual(len(self.probe.resource_data(self.exe, "RCDATA", HELP_TEXT_ID)), sizes[str(HELP_TEXT_ID)])

    def test_manifest_asks_for_common_controls_6(self):
        manifest = self.probe.resource_data(self.exe, "MANIFEST", MANIFEST_ID)
        root = ElementTree.fromstring(manifest)
        identities = [e.attrib for e in root.iter(ASSEMBLY_NAMESPACE + "assemblyIdentity")]
        controls = [a for a in identities if a.get("name") == "Microsoft.Windows.Common-Controls"]
        self.assertEqual(len(controls), 1, "dependencies in the manifest: %r" % identities)
        self.assertEqual(controls[0].get("version"), "6.0.0.0")
        # Any processor's common controls: "x86" there would keep a 64-bit program from starting.
        self.assertEqual(controls[0].get("processorArchitecture"), "*")
        self.assertEqual(controls[0].get("type"), "win32")

    def test_manifest_names_the_programs_own_processor(self):
        manifest = self.probe.resource_data(self.exe, "MANIFEST", MANIFEST_ID)
        root = ElementTree.fromstring(manifest)
        own = root.find(ASSEMBLY_NAMESPACE + "assemblyIdentity")
        self.assertEqual(own.get("name"), "WordHatch.TextExpander")
        self.assertEqual(own.get("processorArchitecture"), MANIFEST_ARCHITECTURES[self.session.build])


if __name__ == "__main__":
    harness.main()
