"""The pure functions of the collection's module_utils: what gomcfgctl is given for a task's
values, and how its answers, JSON or plain stderr, become a result or a failure; and the
modules' documentation against the options they take. Run by tests/ansible/run with the
installed collection on PYTHONPATH."""

import json
import unittest

import yaml

from ansible_collections.gomble.gomcfg.plugins.modules import settings, settings_info
from ansible_collections.gomble.gomcfg.plugins.module_utils.gomcfgctl import (
    GomcfgctlError,
    assignments,
    change_diff,
    change_result,
    parse_output,
    reset_arguments,
)


class Assignments(unittest.TestCase):
    def test_yaml_types_become_gomcfgctl_text(self):
        # A bool is an int in Python: True must not turn into "1" (valid for gomcfgctl, but not
        # what the sheet writes in a diff) nor 1 into "True".
        self.assertEqual(
            assignments({'samemap': True, 'ctf': False, 'Nfraglimit': 5, 'Ntimelimit': 0,
                         'Nhttpport': -1, 'railgunT': 'Rocket Launcher', 'isc': 'yes'}),
            ['samemap=true', 'ctf=false', 'Nfraglimit=5', 'Ntimelimit=0', 'Nhttpport=-1',
             'railgunT=Rocket Launcher', 'isc=yes'])

    def test_values_with_equals_signs_and_spaces_pass_unchanged(self):
        self.assertEqual(assignments({'railgunT': ' a=b '}), ['railgunT= a=b '])

    def test_every_bad_entry_is_named_at_once(self):
        with self.assertRaises(GomcfgctlError) as caught:
            assignments({'a=b': 1, 'Nfraglimit': None, 'ctf': [True], 'isc': {'x': 1},
                         'samemap': True, '': 2, ' bfg': True})
        problems = caught.exception.problems
        self.assertEqual(len(problems), 6, problems)
        self.assertIn("'a=b' is not a key name", problems)
        self.assertIn('Nfraglimit: no value given; to write its default, use reset', problems)
        self.assertIn('ctf: the value is a list, not a single value', problems)
        self.assertIn('isc: the value is a mapping, not a single value', problems)
        self.assertEqual(caught.exception.msg, '; '.join(problems))

    def test_reset_of_all_or_of_keys(self):
        self.assertEqual(reset_arguments(['all']), ['--all'])
        self.assertEqual(reset_arguments(['ALL']), ['--all'])
        # The keys follow "--", so a key that looks like an option stays a key.
        self.assertEqual(reset_arguments(['Nfraglimit', '--dry-run']),
                         ['--', 'Nfraglimit', '--dry-run'])
        for bad in ([], ['all', 'ctf'], ['ctf', 'All']):
            with self.assertRaises(GomcfgctlError):
                reset_arguments(bad)


class Output(unittest.TestCase):
    CHANGES = {'changed': True, 'changes': [{'key': 'Nfraglimit', 'old': '30', 'new': '40'}]}

    def test_a_result_of_set(self):
        data = parse_output(0, json.dumps(self.CHANGES), '')
        self.assertEqual(change_result(data), (True, self.CHANGES['changes']))
        self.assertEqual(change_result({'changed': False, 'changes': []}), (False, []))

    def test_errors_as_json_on_stdout(self):
        stdout = json.dumps({'error': "Nfraglimit: '5000' is out of range (0 to 1000)",
                             'problems': ["Nfraglimit: '5000' is out of range (0 to 1000)",
                                          "unknown key 'fraglimit'; did you mean 'Nfraglimit'?"]})
        with self.assertRaises(GomcfgctlError) as caught:
            parse_output(2, stdout, '')
        e = caught.exception
        self.assertEqual(e.rc, 2)
        self.assertEqual(len(e.problems), 2)
        # The error is not repeated; the other problem follows it.
        self.assertEqual(e.msg, "Nfraglimit: '5000' is out of range (0 to 1000); "
                                "unknown key 'fraglimit'; did you mean 'Nfraglimit'?")

    def test_a_json_error_that_sums_up(self):
        stdout = json.dumps({'error': '2 invalid assignments; nothing written',
                             'problems': ['a', 'b']})
        with self.assertRaises(GomcfgctlError) as caught:
            parse_output(2, stdout, 'gomcfgctl: a\ngomcfgctl: b\n')
        self.assertEqual(caught.exception.msg, '2 invalid assignments; nothing written; a; b')
        self.assertEqual(caught.exception.problems, ['a', 'b'])

    def test_a_json_error_without_problems_falls_back_to_its_error(self):
        with self.assertRaises(GomcfgctlError) as caught:
            parse_output(3, '{"error": "cannot read /x/GombleTroveII.ini: Permission denied"}',
                         '')
        self.assertEqual(caught.exception.msg,
                         'cannot read /x/GombleTroveII.ini: Permission denied')

    def test_errors_on_stderr_only(self):
        stderr = ("gomcfgctl: isc: 'maybe' is not a boolean (true/false, yes/no, on/off, 1/0)\n"
                  "gomcfgctl: unknown key 'fraglimit'; did you mean 'Nfraglimit'?\n")
        with self.assertRaises(GomcfgctlError) as caught:
            parse_output(2, '', stderr)
        self.assertEqual(caught.exception.problems, [
            "isc: 'maybe' is not a boolean (true/false, yes/no, on/off, 1/0)",
            "unknown key 'fraglimit'; did you mean 'Nfraglimit'?"])
        self.assertIn('; unknown key', caught.exception.msg)

    def test_a_usage_error_drops_the_help_hint(self):
        stderr = ("gomcfgctl: The following argument was not expected: --jsn\n"
                  "Try 'gomcfgctl --help' for more information.\n")
        with self.assertRaises(GomcfgctlError) as caught:
            parse_output(2, '', stderr)
        self.assertEqual(caught.exception.msg,
                         'The following argument was not expected: --jsn')

    def test_output_that_is_no_answer_fails_cleanly(self):
        for rc, stdout, stderr, text in (
                (3, '', '', 'gomcfgctl exited with status 3'),
                (0, 'Nfraglimit: 30 -> 40\n', '', 'printed no JSON result'),
                (0, '', 'warning\n', 'printed no JSON result: warning'),
                (-9, '{"changed": tr', '', 'gomcfgctl exited with status -9')):
            with self.assertRaises(GomcfgctlError) as caught:
                parse_output(rc, stdout, stderr)
            self.assertIn(text, caught.exception.msg)
        for data in ([], {'changed': True}, {'changes': [{'old': '1', 'new': '2'}]},
                     {'changes': ['Nfraglimit']}):
            with self.assertRaises(GomcfgctlError):
                change_result(data)

    def test_check_finding_problems_is_an_answer(self):
        problems = [{'line': 2, 'kind': 'boolean', 'key': 'samemap', 'message': 'm'}]
        self.assertEqual(parse_output(1, json.dumps(problems), '', ok_codes=(0, 1)), problems)
        with self.assertRaises(GomcfgctlError):
            parse_output(1, json.dumps(problems), '')
        # As gomcfgctl answers it: the error object carries what exit 0 would have printed.
        answer = {'error': '1 problem', 'problems': ['f:2: samemap: m'], 'result': problems}
        self.assertEqual(parse_output(1, json.dumps(answer), '', ok_codes=(0, 1)), problems)
        with self.assertRaises(GomcfgctlError):
            parse_output(1, json.dumps(answer), '')


class Diff(unittest.TestCase):
    def test_changed_keys_as_lines(self):
        diff = change_diff([{'key': 'Nfraglimit', 'old': '30', 'new': '40'},
                            {'key': 'samemap', 'old': None, 'new': 'true'},
                            {'key': 'motd', 'old': '', 'new': 'x'}], '/srv/GombleTroveII.ini')
        self.assertEqual(diff['before'], 'Nfraglimit=30\nmotd=\n')
        self.assertEqual(diff['after'], 'Nfraglimit=40\nsamemap=true\nmotd=x\n')
        self.assertEqual(diff['before_header'], '/srv/GombleTroveII.ini')
        self.assertEqual(change_diff([], 'f')['after'], '')


class Documentation(unittest.TestCase):
    def test_every_option_documented_as_the_module_takes_it(self):
        for module in (settings, settings_info):
            documented = yaml.safe_load(module.DOCUMENTATION)['options']
            self.assertEqual(sorted(documented), sorted(module.ARGUMENT_SPEC), module.__name__)
            for name, taken in module.ARGUMENT_SPEC.items():
                doc = documented[name]
                for field in ('type', 'default', 'elements'):
                    self.assertEqual(doc.get(field), taken.get(field), (module.__name__, name, field))

    def test_examples_and_returns_are_yaml(self):
        for module in (settings, settings_info):
            self.assertIsInstance(yaml.safe_load(module.EXAMPLES), list)
            self.assertIsInstance(yaml.safe_load(module.RETURN), dict)


if __name__ == '__main__':
    unittest.main()
