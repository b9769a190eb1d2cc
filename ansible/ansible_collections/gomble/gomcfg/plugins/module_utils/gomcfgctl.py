# -*- coding: utf-8 -*-
# Copyright (c) 2026 The Gomcfg developers
# MIT License (see LICENSE in the Gomcfg source)
"""Running the managed host's gomcfgctl with --json and reading what it says."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

from ansible.module_utils.common.file import is_executable

PACKAGE_HINT = 'install the gomcfg-terminal package (gomcfgctl)'

# Options every module of the collection takes to find the program and the file.
COMMON_ARGUMENT_SPEC = dict(
    dir=dict(type='path'),
    path=dict(type='path'),
    gomcfgctl=dict(type='str', default='gomcfgctl'),
)
COMMON_MUTUALLY_EXCLUSIVE = [['dir', 'path']]


class GomcfgctlError(Exception):
    """gomcfgctl refused or failed; nothing was written."""

    def __init__(self, msg, problems=None, rc=None):
        super(GomcfgctlError, self).__init__(msg)
        self.msg = msg
        self.problems = problems or []
        self.rc = rc


def assignment_value(key, value):
    """The text gomcfgctl gets for one value: YAML booleans as true/false, numbers as digits."""
    if isinstance(value, bool):
        return 'true' if value else 'false'
    if value is None:
        raise GomcfgctlError('{0}: no value given; to write its default, use reset'.format(key))
    if isinstance(value, (dict, list, tuple, set)):
        raise GomcfgctlError('{0}: the value is a {1}, not a single value'.format(
            key, 'mapping' if isinstance(value, dict) else 'list'))
    return str(value)


def assignments(settings):
    """KEY=VALUE arguments for one set call, in the task's order; every bad entry is named."""
    result = []
    problems = []
    for key, value in settings.items():
        key = str(key)
        try:
            if not key or '=' in key or key != key.strip():
                raise GomcfgctlError('{0!r} is not a key name'.format(key))
            result.append('{0}={1}'.format(key, assignment_value(key, value)))
        except GomcfgctlError as e:
            problems.append(e.msg)
    if problems:
        raise GomcfgctlError('; '.join(problems), problems)
    return result


def reset_arguments(reset):
    """The arguments of gomcfgctl reset for a list of keys, or for 'all'."""
    keys = [str(k) for k in reset]
    if len(keys) == 1 and keys[0].lower() == 'all':
        return ['--all']
    if not keys:
        raise GomcfgctlError('reset names no key; give a list of keys or all')
    if any(k.lower() == 'all' for k in keys):
        raise GomcfgctlError('reset takes a list of keys or all, not both')
    return ['--'] + keys


def location_arguments(dir=None, path=None):
    if dir:
        return ['--dir', dir]
    if path:
        return ['--file', path]
    return []


def _stderr_problems(stderr):
    problems = []
    for line in (stderr or '').splitlines():
        line = line.strip()
        if line.startswith('gomcfgctl: '):
            line = line[len('gomcfgctl: '):]
        if line and not line.startswith("Try 'gomcfgctl --help'"):
            problems.append(line)
    return problems


def parse_output(rc, stdout, stderr, ok_codes=(0,)):
    """gomcfgctl's JSON result; GomcfgctlError with its messages when it exited otherwise.
    A gomcfgctl that reports errors as JSON on stdout is read first, one that only writes them
    to stderr after that."""
    try:
        data = json.loads(stdout) if stdout and stdout.strip() else None
    except ValueError:
        data = None
    if rc in ok_codes:
        if data is None:
            raise GomcfgctlError(
                'gomcfgctl exited with status {0} but printed no JSON result{1}'.format(
                    rc, ': ' + stderr.strip() if stderr and stderr.strip() else ''), rc=rc)
        if isinstance(data, dict) and 'error' in data:
            # A command that ran to its end and found problems (check's exit 1) still answers.
            if rc != 0 and 'result' in data:
                return data['result']
            raise GomcfgctlError(str(data['error']), data.get('problems') or [], rc)
        return data
    problems = []
    error = None
    if isinstance(data, dict) and 'error' in data:
        error = str(data['error'])
        problems = [str(p) for p in data.get('problems') or []]
    if not problems:
        problems = _stderr_problems(stderr)
    if error is None:
        error = problems[0] if len(problems) == 1 else None
    parts = [error] if error else []
    parts += [p for p in problems if p != error]
    if not parts:
        parts = ['gomcfgctl exited with status {0}'.format(rc)]
    raise GomcfgctlError('; '.join(parts), problems or parts, rc)


def change_result(data):
    """changed and changes from the result of set or reset."""
    changes = data.get('changes') if isinstance(data, dict) else None
    if not isinstance(changes, list) or not all(
            isinstance(c, dict) and 'key' in c and 'new' in c for c in changes):
        raise GomcfgctlError('gomcfgctl printed a result without changes: {0}'.format(
            json.dumps(data)[:200]))
    return bool(data.get('changed', bool(changes))), changes


def change_diff(changes, file):
    """before and after as KEY=VALUE lines of the changed keys; a key the file lacked has no
    before line."""
    before = ''.join('{0}={1}\n'.format(c['key'], c['old'])
                     for c in changes if c.get('old') is not None)
    after = ''.join('{0}={1}\n'.format(c['key'], c['new']) for c in changes)
    return dict(before=before, after=after, before_header=file, after_header=file)


def find_gomcfgctl(module):
    """The program to run; GomcfgctlError naming the package to install when there is none."""
    name = module.params['gomcfgctl']
    if '/' in name:
        path = os.path.expanduser(name)
        if os.path.isfile(path) and is_executable(path):
            return path
        raise GomcfgctlError('gomcfgctl {0} is not an executable file; {1}'.format(
            name, PACKAGE_HINT))
    path = module.get_bin_path(name, required=False)
    if not path:
        raise GomcfgctlError('{0} was not found on PATH; {1}'.format(name, PACKAGE_HINT))
    return path


def settings_file(module, binary):
    """The file gomcfgctl edits for the task, as an absolute path, as gomcfgctl itself finds it."""
    data = run(module, binary, ['file'])
    if not isinstance(data, dict) or not isinstance(data.get('file'), str):
        raise GomcfgctlError('gomcfgctl printed no file: {0}'.format(json.dumps(data)[:200]))
    return data['file']


def run(module, binary, arguments, ok_codes=(0,)):
    """Runs gomcfgctl with --json and the task's file; its result, or GomcfgctlError."""
    p = module.params
    argv = [binary] + location_arguments(p.get('dir'), p.get('path')) + ['--json'] + arguments
    rc, stdout, stderr = module.run_command(argv, environ_update={'LC_ALL': 'C'})
    return parse_output(rc, stdout, stderr, ok_codes)
