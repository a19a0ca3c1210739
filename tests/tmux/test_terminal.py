"""The radio on a terminal: what a person sees at 80x24 and 100x30, and how it ends."""
import os
import signal
import unittest

from quenlora_session import Session, decoder_word_set_and_restored, make_root


class TerminalTest(unittest.TestCase):
    def start(self, stations=True, **kwargs):
        session = Session(make_root(stations), **kwargs)
        self.addCleanup(session.close)
        return session

    def test_main_window_at_80x24_and_red_key_ends(self):
        s = self.start()
        screen = s.wait_for("Current Song:")
        self.assertIn("Quenlora v1.0...", screen)
        self.assertIn("SomaFM: Groove Salad", screen)
        for caption in ("Stream Title: None", "Stream Genre: None", "Current Song: None"):
            self.assertIn(caption, screen)
        for button in ("Play", "Close", "Settings", "About"):
            self.assertIn(button, screen)
        for hidden in ("Stop", "Minimise"):
            self.assertNotIn(hidden, screen)
        self.assertIn("Esc", screen.splitlines()[-1])
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)
        self.assertTrue(decoder_word_set_and_restored(s.log()), s.log())

    def test_ctrl_c_ends_with_status_0_and_restores(self):
        s = self.start()
        s.wait_for("Current Song:")
        s.keys("C-c")
        self.assertEqual(s.exit_status(), 0)
        self.assertTrue(decoder_word_set_and_restored(s.log()), s.log())

    def test_sigterm_and_sigint_while_the_about_box_is_open(self):
        for number in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=number):
                s = self.start()
                s.wait_for("Current Song:")
                s.keys("b")
                s.wait_for("Support: ")
                os.kill(s.pid(), number)
                self.assertEqual(s.exit_status(), 0)
                self.assertTrue(decoder_word_set_and_restored(s.log()), s.log())

    def test_missing_station_file_shows_the_box_before_the_window(self):
        s = self.start(stations=False)
        screen = s.wait_for("File /var/etc/stations.xml not found.")
        self.assertIn("Error!", screen)
        self.assertNotIn("Stream Title:", screen)
        s.keys("Enter")
        screen = s.wait_for("Stream Title:")
        self.assertIn("File /var/etc/stations.xml not found.", screen)
        self.assertNotIn("Error!", screen)
        s.keys("Escape")
        self.assertEqual(s.exit_status(), 0)

    def test_german_texts_show_whole_at_100x30(self):
        s = self.start(width=100, height=30, env={"LANGUAGE": "de", "LANG": "C.UTF-8"})
        screen = s.wait_for("Jetzt läuft:")
        for caption in ("Stream-Titel:", "Stream-Genre:", "Jetzt läuft:"):
            row = [line for line in screen.splitlines() if caption in line]
            self.assertTrue(row and row[0].split(caption)[1].split()[0] == "Keine", screen)
        for text in ("Abspielen", "Schließen", "Einstellungen", "Über"):
            self.assertIn(text, screen)
        s.keys("b")
        s.wait_for("Quenlora v1.0")
        s.keys("Enter")
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)

    def test_a_resized_terminal_is_drawn_again_at_its_new_size(self):
        s = self.start(width=40, height=12)
        s.wait_for("Quenlora")
        s.tmux("resize-window", "-t", "q", "-x", "80", "-y", "24")
        screen = s.wait_for("Current Song: None")
        self.assertEqual(len(screen.splitlines()), 24)
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)

    def test_function_keys_are_the_colour_keys(self):
        s = self.start()
        s.wait_for("Current Song:")
        s.keys("F4")
        s.wait_for("Support: ")
        s.keys("Escape")
        screen = s.wait_for("Current Song:")
        self.assertNotIn("Support: ", screen)
        s.keys("F1")
        self.assertEqual(s.exit_status(), 0)

    def test_station_list_opens_and_takes_a_choice(self):
        s = self.start()
        s.wait_for("SomaFM: Groove Salad")
        s.keys("Enter")
        s.wait_for("SomaFM: Drone Zone")
        s.keys("Down", "Enter")
        screen = s.wait_for("Current Song:")
        first_row = [line for line in screen.splitlines() if "▾" in line]
        self.assertTrue(first_row and "SomaFM: Drone Zone" in first_row[0], screen)
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)


if __name__ == "__main__":
    unittest.main()
